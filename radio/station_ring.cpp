#include "station_ring.h"

#include <iterator>

#include "../games/selected_game.h"

namespace {

template <size_t N>
StationRing RingOf(const games::StationRingEntry (&table)[N]) {
    static_assert(N <= kMaxRingCount);
    StationRing ring{};
    for (size_t i = 0; i < N; ++i) ring.entries[i] = table[i];
    ring.ringCount = static_cast<int32_t>(N);
    return ring;
}

}  // namespace

StationRing BuildStationRing(bool userTracks) {
    return userTracks ? RingOf(selected_game::kRingWithUserTracks)
                      : RingOf(selected_game::kRingWithoutUserTracks);
}

int32_t RingPosition(const StationRing& ring, int32_t stationId) {
    for (int32_t position = 0; position < ring.ringCount; ++position)
        if (ring.entries[position].stationId == stationId) return position;
    return ring.ringCount - 1;
}

int32_t WrapRingPosition(int64_t position, int32_t ringCount) {
    const int64_t wrapped = position % ringCount;
    return static_cast<int32_t>(wrapped < 0 ? wrapped + ringCount : wrapped);
}
