#include "branch.h"

#include <cstring>

#include "protected_memory.h"

namespace injector {
namespace {

uint32_t Address32(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
void* Pointer(uint32_t address) { return reinterpret_cast<void*>(static_cast<uintptr_t>(address)); }

}  // namespace

void* BranchDestination(void* address) {
    uint8_t* at = static_cast<uint8_t*>(address);
    uint8_t opcode = 0;
    if (!ProtectedRead(at, &opcode, 1)) return nullptr;
    if (opcode == kRelativeCall || opcode == kRelativeJump) {
        uint32_t offset = 0;
        if (!ProtectedRead(at + 1, &offset, 4)) return nullptr;
        return Pointer(Address32(at) + 5 + offset);
    }
    if (opcode == 0xFF) {
        uint8_t form = 0;
        if (!ProtectedRead(at + 1, &form, 1) || (form != 0x15 && form != 0x25)) return nullptr;
        uint32_t cell = 0;
        uint32_t target = 0;
        if (!ProtectedRead(at + 2, &cell, 4) || !CheckedRead(Pointer(cell), &target, 4))
            return nullptr;
        return Pointer(target);
    }
    return nullptr;
}

// The opcode and its offset go in together: written apart, a thread that reached the site
// between the two writes would run the new opcode with the old offset.
void WriteRelativeBranch(void* address, uint8_t opcode, const void* destination) {
    uint8_t* at = static_cast<uint8_t*>(address);
    const uint32_t offset = Address32(destination) - (Address32(at) + 5);
    uint8_t branch[5] = {opcode};
    std::memcpy(branch + 1, &offset, 4);
    ProtectedWrite(at, branch, sizeof branch);
}

}  // namespace injector
