// Records of the tables that tell a game's releases apart and place their code.
#pragma once

#include <cstdint>

namespace games {

// One probe: four bytes of the executable's code that only one release holds.
struct VersionSignature {
    uint32_t probeAddress;  // game address (image at 0x400000) of the four bytes
    uint32_t expected;      // their value, read little-endian
    int32_t code;           // version code of the release that holds them
};

// A game address that moves between the III and Vice City releases 1.0, 1.1 and Steam.
struct VersionedAddress {
    uint32_t at100;  // in the release with version code 100
    uint32_t at110;  // code 110
    uint32_t at120;  // code 120
};

}  // namespace games
