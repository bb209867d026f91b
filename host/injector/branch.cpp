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
    ProtectedRead(at, &opcode, 1);
    if (opcode == kRelativeCall || opcode == kRelativeJump) {
        uint32_t offset = 0;
        ProtectedRead(at + 1, &offset, 4);
        return Pointer(Address32(at) + 5 + offset);
    }
    if (opcode == 0xFF) {
        uint8_t form = 0;
        ProtectedRead(at + 1, &form, 1);
        if (form != 0x15 && form != 0x25) return nullptr;
        uint32_t cell = 0;
        ProtectedRead(at + 2, &cell, 4);
        uint32_t target = 0;
        std::memcpy(&target, Pointer(cell), 4);
        return Pointer(target);
    }
    return nullptr;
}

void WriteRelativeBranch(void* address, uint8_t opcode, const void* destination) {
    uint8_t* at = static_cast<uint8_t*>(address);
    const uint32_t offset = Address32(destination) - (Address32(at) + 5);
    ProtectedWrite(at, &opcode, 1);
    ProtectedWrite(at + 1, &offset, 4);
}

}  // namespace injector
