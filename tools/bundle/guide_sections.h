// The parts of the player's guide that are made from the code's own tables, so that the guide
// can never say other than the plug-in does.
#pragma once

#include <string>

#include "radio/radio_strip_settings.h"

// Every key of the settings file: the line the plug-in writes for it (key, default and the
// comment above it, word for word), its advised range and what it does. Empty when a key of
// the plug-in's table has no words here, or words stand here for a key the table lacks.
std::string SettingsGuideText(const RadioStripSettings& defaults);

// The key codes ReloadKey takes, several to a line.
std::string KeyCodesGuideText();
