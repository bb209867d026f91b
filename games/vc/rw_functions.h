#pragma once

#include "../host_rw_functions.h"

namespace games::vc {

inline constexpr HostRwFunctions kRwFunctions = {
    0x655490,  // RwRasterCreate
    0x6552E0,  // RwRasterDestroy
    0x655530,  // RwRasterLock
    0x655250,  // RwRasterUnlock
    0x64DE60,  // RwTextureCreate
};

}  // namespace games::vc
