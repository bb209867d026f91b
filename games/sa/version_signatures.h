// San Andreas releases by code signature; rows are tried in this order, the first match wins.
// The whole four bytes count: in the rows at 0x8245BC and later the two high bytes are zero.
#pragma once

#include "../version_signature.h"

namespace games::sa {

inline constexpr VersionSignature kVersionSignatures[] = {
    {0x401000, 0x53EC8B55, 1001},  // 55 8B EC 53
    {0x401000, 0x16197BE9, 1002},  // E9 7B 19 16
    {0x8245BC, 0x000094BF, 1011},  // BF 94 00 00
    {0x8252FC, 0x000094BF, 1101},
    {0x82533C, 0x000094BF, 1111},
    {0x858D51, 0x3539F633, 3200},  // 33 F6 39 35
    {0x858C61, 0x3539F633, 3210},
};

}  // namespace games::sa
