// III releases by code signature; rows are tried in this order, the first match wins.
#pragma once

#include "../version_signature.h"

namespace games::iii {

inline constexpr VersionSignature kVersionSignatures[] = {
    {0x5C1E70, 0x53E58955, 100},  // 55 89 E5 53
    {0x5C2130, 0x53E58955, 110},
    {0x5C6FD0, 0x53E58955, 120},
};

}  // namespace games::iii
