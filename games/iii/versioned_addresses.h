// III: the game addresses that move between releases, resolved once at load.
#pragma once

#include <array>
#include <cstddef>

#include "../version_signature.h"

namespace games::iii {

// One slot per versioned address, in the order the slots are filled.
enum class VersionedSlot {
    HostSpriteDraw,           // sprite member routine
    HostAudio,                // object
    HostUserTracksAvailable,  // HostAudio member routine
    HostRetuneRadio,          // HostAudio member routine
    HostSetRadioVolume,       // HostAudio member routine
    HostClock,                // unsigned 32-bit milliseconds
    HostTimeStep,             // float
    HostSuppressFlags1,       // byte
    HostSuppressFlags2,       // byte
    HostSuppressFlags3Owner,  // object whose byte at offset 0x70 is the third suppress flag
    Count
};

inline constexpr std::array<VersionedAddress, static_cast<std::size_t>(VersionedSlot::Count)>
    kVersionedAddresses = {{
        {0x51ED50, 0x51EF80, 0x51EF10},  // HostSpriteDraw
        {0x95CDBE, 0x95CF76, 0x96D0B6},  // HostAudio
        {0x57C9F0, 0x57CD40, 0x57CC40},  // HostUserTracksAvailable
        {0x57CE60, 0x57D1B0, 0x57D0B0},  // HostRetuneRadio
        {0x57C8C0, 0x57CC10, 0x57CB10},  // HostSetRadioVolume
        {0x885B48, 0x885AF8, 0x895C38},  // HostClock
        {0x8E2CB4, 0x8E2D68, 0x8F2EA8},  // HostTimeStep
        {0x95CD7C, 0x95CF34, 0x96D074},  // HostSuppressFlags1
        {0x95CDB1, 0x95CF69, 0x96D0A9},  // HostSuppressFlags2
        {0x6FACF8, 0x6FACF8, 0x70AE38},  // HostSuppressFlags3Owner
    }};

}  // namespace games::iii
