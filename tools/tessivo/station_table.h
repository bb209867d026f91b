// A game's stations as players and icon makers meet them: the number the game gives a station,
// the icon file the strip shows for it, and whether the strip ever shows that icon.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_choice.h"

struct StationRow {
    std::string icon;                  // base name of the colour icon; its grey twin adds "_gray"
    std::optional<int32_t> station;    // its number with user tracks; none: never shown
    std::optional<int32_t> withoutUserTracks;  // its number without them; none: not shown then
};

// One row per colour icon of the game's table, in station order, the never-shown ones last.
std::vector<StationRow> StationRows(const GameChoice& game);

// Whether the strip ever draws the icon named `icon` (colour or grey, any letter case).
bool IconEverShown(const GameChoice& game, const std::string& icon);

// A station given by number or by its icon's name ("flash", "flash.png", any case).
std::optional<int32_t> StationByNumberOrIcon(const GameChoice& game, const std::string& text);

// "station  icon  when it shows" lines, each starting with `indent`.
std::string StationTableText(const GameChoice& game, const std::string& indent);
