// III: the ring of stations the strip slides along, and the game's radio rules.
#pragma once

#include "../station_ring_entry.h"

namespace games::iii {

// Without user tracks the off entry is station 10; with them the user tracks are station 9
// and the off entry 11.
inline constexpr StationRingEntry kRingWithoutUserTracks[] = {
    {0, 8, 9},   {1, 2, 3},   {2, 10, 11}, {3, 20, 21}, {4, 12, 13},
    {5, 6, 7},   {6, 16, 17}, {7, 4, 5},   {8, 0, 1},   {10, 18, 19},
};
inline constexpr StationRingEntry kRingWithUserTracks[] = {
    {0, 8, 9},   {1, 2, 3},   {2, 10, 11}, {3, 20, 21}, {4, 12, 13}, {5, 6, 7},
    {6, 16, 17}, {7, 4, 5},   {8, 0, 1},   {9, 14, 15}, {11, 18, 19},
};

inline constexpr RadioRules kRadioRules = {
    CurrentStationSource::VehicleByte,
    0,         // no vehicle: station 0
    12, 13, 10,  // vehicle bytes 12 and 13 are the off entry, 10 or 11
    false,
    0,         // mute: volume 0
    true, {10, 10}, {10, 11},
    false,
    false,
};

}  // namespace games::iii
