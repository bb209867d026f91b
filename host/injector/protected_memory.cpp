#include "protected_memory.h"

#include <cstring>

#include "../../platform/platform.h"

namespace injector {
namespace {

// Runs `access` with the bytes at `address` read-write-execute, then puts the protection back.
// Without the change a read still runs (code is readable), a write does not.
template <class Access>
void WithCodeUnlocked(void* address, size_t size, bool writes, Access access) {
    DWORD previous = 0;
    const BOOL changed = VirtualProtect(address, size, PAGE_EXECUTE_READWRITE, &previous);
    if (changed || !writes) access();
    if (changed) {
        DWORD scratch = 0;
        VirtualProtect(address, size, previous, &scratch);
    }
}

}  // namespace

void ProtectedWrite(void* address, const void* source, size_t size) {
    WithCodeUnlocked(address, size, true, [&] { std::memcpy(address, source, size); });
}

void ProtectedRead(void* address, void* destination, size_t size) {
    WithCodeUnlocked(address, size, false, [&] { std::memcpy(destination, address, size); });
}

}  // namespace injector
