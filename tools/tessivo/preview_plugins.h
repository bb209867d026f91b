// The radio plug-in in the stand-in game as the drawing half of `tessivo preview` has it: the
// plug-in's host build linked in (preview_plugins_host.cpp), or the real DLLs of the throw-away
// game folder loaded the way the plug-in loader loads them (preview_plugins_windows.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "sim/game_id.h"

// The game laid out for `game` and `release`, the plug-ins of `folder` attached, and the game's
// RenderWare start-up run: the plug-in has read its settings and loaded its icons. False,
// saying why, when the plug-ins cannot be had.
bool StartPreviewPlugins(sim::Game game, int32_t release, const std::string& folder, std::string& error);

// RadioSliderTimeout as the plug-in read it at start-up.
int32_t PreviewSliderTimeout(const std::string& folder);

// The game's RenderWare shut-down: the plug-in releases its icons.
void StopPreviewPlugins(sim::Game game);
