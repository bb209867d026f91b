// Vice City: the ring of stations the strip slides along, and the game's radio rules.
#pragma once

#include "../station_ring_entry.h"

namespace games::vc {

// With user tracks they are station 9 and the off entry is 10; without, the off entry is 9.
inline constexpr StationRingEntry kRingWithoutUserTracks[] = {
    {0, 22, 23}, {1, 8, 9},   {2, 10, 11}, {3, 6, 7}, {4, 18, 19},
    {5, 16, 17}, {6, 4, 5},   {7, 2, 3},   {8, 20, 21}, {9, 14, 15},
};
inline constexpr StationRingEntry kRingWithUserTracks[] = {
    {0, 22, 23}, {1, 8, 9}, {2, 10, 11}, {3, 6, 7},   {4, 18, 19}, {5, 16, 17},
    {6, 4, 5},   {7, 2, 3}, {8, 20, 21}, {9, 12, 13}, {10, 14, 15},
};

inline constexpr RadioRules kRadioRules = {
    CurrentStationSource::VehicleByte,
    0,          // no vehicle: station 0
    11, 14, 9,  // vehicle bytes 11 to 14 are the off entry, 9 or 10
    true,       // the game's steps count the user-track entry it does not show without them
    0,          // mute: volume 0
    true, {9, 10}, {9, 10},
    false,
    false,
};

}  // namespace games::vc
