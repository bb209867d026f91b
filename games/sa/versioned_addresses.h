// San Andreas: every game address it uses is fixed, so it has no versioned slots; its
// version code only decides whether its event hooks are installed.
#pragma once

#include <array>
#include <cstddef>

#include "../version_signature.h"

namespace games::sa {

enum class VersionedSlot { Count };

inline constexpr std::array<VersionedAddress, 0> kVersionedAddresses = {};

}  // namespace games::sa
