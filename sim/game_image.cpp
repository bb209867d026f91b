#include "game_image.h"

#include "game_image_base.h"

namespace sim {

uint32_t& MappedBase() {
    static uint32_t base = 0;
    return base;
}

uint32_t GameImageBase() { return MappedBase(); }

uint8_t* GameBytes(uint32_t address) {
    return reinterpret_cast<uint8_t*>(
        static_cast<uintptr_t>(MappedBase() + (address - kPreferredImageBase)));
}

}  // namespace sim
