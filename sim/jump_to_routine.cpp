#include <cstring>

#include "game_image.h"

namespace sim {

size_t JumpToRoutineSize() { return sizeof(void*) == 8 ? 14 : 5; }

void WriteJumpToRoutine(uint32_t address, const void* routine) {
    uint8_t* at = GameBytes(address);
    uintptr_t target = reinterpret_cast<uintptr_t>(routine);
    if (sizeof(void*) == 8) {
        const uint8_t indirect[6] = {0xFF, 0x25, 0, 0, 0, 0};  // jmp [rip+0]
        std::memcpy(at, indirect, sizeof indirect);
        uint64_t absolute = target;
        std::memcpy(at + 6, &absolute, sizeof absolute);
    } else {
        at[0] = 0xE9;  // jmp rel32, relative to the next instruction
        int32_t rel = static_cast<int32_t>(target - (reinterpret_cast<uintptr_t>(at) + 5));
        std::memcpy(at + 1, &rel, sizeof rel);
    }
}

}  // namespace sim
