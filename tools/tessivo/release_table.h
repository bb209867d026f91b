// A game's releases as players know them, and what the strip does in each.
#pragma once

#include <cstdint>
#include <string>

#include "game_choice.h"

// "1.1", or "release code 1011" where the project knows no name for it.
std::string ReleaseName(const GameChoice& game, int32_t code);

// Whether the plug-in installs its hooks in the release with this code: only then does the
// strip start (settings, icons, the keys) and draw.
bool ReleaseHooked(const GameChoice& game, int32_t code);

// What a player can do in a release where the strip cannot work.
std::string UnhookedAdvice(const GameChoice& game);

// One line per version code, each starting with `indent`, and one for a release not recognised.
std::string ReleaseTableText(const GameChoice& game, const std::string& indent);
