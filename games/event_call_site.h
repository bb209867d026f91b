// Record of the call-site tables of the plug-in events.
#pragma once

#include <cstdint>

namespace games {

// One reference of an event: a five-byte call (E8 rel32) of one release that it redirects.
struct EventCallSite {
    uint32_t address;     // game address (image at 0x400000) of the call instruction
    int32_t version;      // version code of the release in which the call sits
    uint32_t further[3];  // the reference's three further numbers, 0 in every one of these games
};

}  // namespace games
