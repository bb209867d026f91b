// The ring of stations the strip slides along, built afresh each frame on the stack.
#pragma once

#include <cstdint>

#include "../games/station_ring_entry.h"

inline constexpr int32_t kMaxRingCount = 13;

struct StationRing {
    games::StationRingEntry entries[kMaxRingCount];
    int32_t ringCount;
};

// The game's ring; in III and Vice City it has a user-track entry when they are available.
StationRing BuildStationRing(bool userTracks);

// The first position holding `stationId`; the last position when none does.
int32_t RingPosition(const StationRing& ring, int32_t stationId);

// `position` reduced into 0 .. ringCount - 1.
int32_t WrapRingPosition(int64_t position, int32_t ringCount);
