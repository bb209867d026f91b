// Linux: the image is an anonymous mapping at the fixed game base. Host test programs are
// linked with their text above it so rel32 branches between the two reach.
#include <sys/mman.h>

#include "game_image.h"
#include "game_image_base.h"

#ifndef MAP_FIXED_NOREPLACE
#define MAP_FIXED_NOREPLACE 0x100000
#endif

namespace sim {

bool MapGameImage(uint32_t base) {
    if (MappedBase() == base) return true;
    if (MappedBase() != 0) {
        munmap(reinterpret_cast<void*>(static_cast<uintptr_t>(MappedBase())), kGameImageSize);
        MappedBase() = 0;
    }
    void* want = reinterpret_cast<void*>(static_cast<uintptr_t>(base));
    void* got = mmap(want, kGameImageSize, PROT_READ | PROT_WRITE | PROT_EXEC,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (got == MAP_FAILED) return false;
    if (got != want) {
        munmap(got, kGameImageSize);
        return false;
    }
    MappedBase() = base;
    return true;
}

}  // namespace sim
