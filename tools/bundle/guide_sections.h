// The parts of the player's guide that are made from the code's own tables, so that the guide
// can never say other than the plug-in does.
#pragma once

#include <string>

#include "radio/radio_strip_settings.h"

// Every key of the settings file: the line the plug-in writes for it (key, default and the
// comment above it, word for word), its advised range and what it does. Empty when a key of
// the plug-in's table has no words here, or words stand here for a key the table lacks.
std::string SettingsGuideText(const RadioStripSettings& defaults);

// Words wrapped to lines of at most `width` characters, each line after `indent`.
std::string WrappedText(const std::string& words, const std::string& indent, size_t width);

// Heading underlines ("===", "---") as long as the heading above them, once the marks in the
// heading are filled.
std::string FittedUnderlines(const std::string& text);

// The key codes ReloadKey takes, several to a line.
std::string KeyCodesGuideText();
