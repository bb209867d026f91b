#include "host_version.h"

#include "../games/selected_game.h"
#include "host_address.h"
#include "injector/protected_memory.h"

namespace {

// The four bytes at the probe as a little-endian value, read under a protection change that
// is put back only when it succeeded; the read happens either way.
uint32_t ReadProbe(uint32_t probeAddress) {
    uint8_t bytes[4] = {};
    injector::ProtectedRead(HostAddress(probeAddress), bytes, sizeof bytes);
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

}  // namespace

int32_t DetectHostVersion() {
    for (const games::VersionSignature& row : selected_game::kVersionSignatures)
        if (ReadProbe(row.probeAddress) == row.expected) return row.code;
    return 0;
}

int32_t HostVersion() {
    static const int32_t code = DetectHostVersion();
    return code;
}
