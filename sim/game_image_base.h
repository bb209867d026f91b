// The base the image was mapped at, kept by whichever mapping this build uses.
#pragma once

#include <cstdint>

namespace sim {

// 0 until a mapping succeeds; the mappings set it, everything else reads it.
uint32_t& MappedBase();

}  // namespace sim
