// Vice City releases by code signature; rows are tried in this order, the first match wins.
#pragma once

#include "../version_signature.h"

namespace games::vc {

inline constexpr VersionSignature kVersionSignatures[] = {
    {0x667BF0, 0x53E58955, 100},  // 55 89 E5 53
    {0x667C40, 0x53E58955, 110},
    {0x666BA0, 0x53E58955, 120},
};

}  // namespace games::vc
