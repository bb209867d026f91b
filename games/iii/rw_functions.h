#pragma once

#include "../host_rw_functions.h"

namespace games::iii {

inline constexpr HostRwFunctions kRwFunctions = {
    0x5AD930,  // RwRasterCreate
    0x5AD780,  // RwRasterDestroy
    0x5AD9D0,  // RwRasterLock
    0x5AD6F0,  // RwRasterUnlock
    0x5A72D0,  // RwTextureCreate
};

}  // namespace games::iii
