#pragma once

#include "../host_rw_functions.h"

namespace games::sa {

inline constexpr HostRwFunctions kRwFunctions = {
    0x7FB230,  // RwRasterCreate
    0x7FB020,  // RwRasterDestroy
    0x7FB2D0,  // RwRasterLock
    0x7FAEC0,  // RwRasterUnlock
    0x7F37C0,  // RwTextureCreate
};

}  // namespace games::sa
