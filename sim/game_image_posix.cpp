// Linux: the image is an anonymous mapping at the fixed game base. Host test programs are
// linked with their text above it so rel32 branches between the two reach.
#include <sys/mman.h>

#include "game_image.h"

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

namespace sim {
namespace {
uint32_t mappedBase = 0;
}

bool MapGameImage(uint32_t base) {
    if (mappedBase == base) return true;
    if (mappedBase != 0) {
        munmap(reinterpret_cast<void*>(static_cast<uintptr_t>(mappedBase)), kGameImageSize);
        mappedBase = 0;
    }
    void* want = reinterpret_cast<void*>(static_cast<uintptr_t>(base));
    void* got = mmap(want, kGameImageSize, PROT_READ | PROT_WRITE | PROT_EXEC,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (got == MAP_FAILED) return false;
    if (got != want) {
        munmap(got, kGameImageSize);
        return false;
    }
    mappedBase = base;
    return true;
}

uint32_t GameImageBase() { return mappedBase; }

uint8_t* GameBytes(uint32_t address) {
    return reinterpret_cast<uint8_t*>(
        static_cast<uintptr_t>(mappedBase + (address - kPreferredImageBase)));
}

}  // namespace sim
