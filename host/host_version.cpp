#include "host_version.h"

#include "../games/selected_game.h"
#include "host_address.h"
#include "injector/protected_memory.h"

namespace {

// The four bytes at the probe as a little-endian value, read under a protection change that
// is put back only when it succeeded; the read happens either way where the bytes are readable.
// A probe that lies in no committed memory (a changed or packed executable) cannot be read
// without faulting inside the loader's attach: it matches nothing.
bool ReadProbe(uint32_t probeAddress, uint32_t& value) {
    uint8_t bytes[4] = {};
    if (!injector::ProtectedRead(HostAddress(probeAddress), bytes, sizeof bytes)) return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
            uint32_t(bytes[3]) << 24;
    return true;
}

}  // namespace

int32_t DetectHostVersion() {
    for (const games::VersionSignature& row : selected_game::kVersionSignatures) {
        uint32_t value = 0;
        if (ReadProbe(row.probeAddress, value) && value == row.expected) return row.code;
    }
    return 0;
}

int32_t HostVersion() {
    static const int32_t code = DetectHostVersion();
    return code;
}
