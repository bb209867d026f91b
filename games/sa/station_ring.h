// San Andreas: the ring of stations the strip slides along, and the game's radio rules.
#pragma once

#include "../station_ring_entry.h"

namespace games::sa {

// The off entry, station 13, comes first; user tracks do not change the ring.
inline constexpr StationRingEntry kRingWithoutUserTracks[] = {
    {13, 0, 1},  {1, 14, 15}, {2, 10, 11},  {3, 6, 7},    {4, 2, 3},
    {5, 20, 21}, {6, 18, 19}, {7, 16, 17},  {8, 4, 5},    {9, 8, 9},
    {10, 12, 13}, {11, 24, 25}, {12, 22, 23},
};
inline constexpr const StationRingEntry (&kRingWithUserTracks)[13] = kRingWithoutUserTracks;

inline constexpr RadioRules kRadioRules = {
    CurrentStationSource::AudioQuery,
    13,         // no vehicle, or no radio playing: the off entry
    0, -1, 0,   // no user-track range
    false,
    1,          // mute: volume 1
    false, {0, 0}, {0, 0},
    true,
    true,
};

}  // namespace games::sa
