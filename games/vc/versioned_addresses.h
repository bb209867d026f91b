// Vice City: the game addresses that move between releases, resolved once at load.
#pragma once

#include <array>
#include <cstddef>

#include "../version_signature.h"

namespace games::vc {

// One slot per versioned address, in the order the slots are filled.
enum class VersionedSlot {
    HostPad,              // routine: the pad object of a player
    HostPadHideQuery,     // pad member routine
    HostPadRestoreQuery,  // pad member routine
    HostClock,            // unsigned 32-bit milliseconds
    HostTimeStep,         // float
    HostSuppressFlags1,   // byte
    HostSuppressFlags2,   // byte
    Count
};

inline constexpr std::array<VersionedAddress, static_cast<std::size_t>(VersionedSlot::Count)>
    kVersionedAddresses = {{
        {0x4AB060, 0x4AB080, 0x4AAF30},  // HostPad
        {0x4AA8F0, 0x4AA910, 0x4AA7C0},  // HostPadHideQuery
        {0x4AA590, 0x4AA5B0, 0x4AA460},  // HostPadRestoreQuery
        {0x974B2C, 0x974B34, 0x973B34},  // HostClock
        {0x975424, 0x97542C, 0x97442C},  // HostTimeStep
        {0xA10B36, 0xA10B3E, 0xA0FB3F},  // HostSuppressFlags1
        {0xA10B76, 0xA10B7F, 0xA0FB80},  // HostSuppressFlags2
    }};

}  // namespace games::vc
