#include "protected_memory.h"

#include <cstdint>
#include <cstring>

#include "../../platform/platform.h"

namespace injector {
namespace {

enum class Access {
    None,      // some byte is not committed memory
    Locked,    // committed, but some page refuses reads as it stands
    Readable,  // committed and readable as it stands
};

bool ReadableProtection(DWORD protect) {
    if (protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
    return (protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                       PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

// What VirtualQuery says of every region the bytes touch.
Access QueryAccess(const void* address, size_t size) {
    const uintptr_t end = reinterpret_cast<uintptr_t>(address) + size;
    if (end < reinterpret_cast<uintptr_t>(address)) return Access::None;
    Access access = Access::Readable;
    for (uintptr_t at = reinterpret_cast<uintptr_t>(address); at < end;) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(reinterpret_cast<LPCVOID>(at), &region, sizeof region) == 0 ||
            region.State != MEM_COMMIT || region.RegionSize == 0)
            return Access::None;
        if (!ReadableProtection(region.Protect)) access = Access::Locked;
        at = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return access;
}

// Runs `access` with the bytes at `address` read-write-execute, then puts the protection back.
// Without the change a read still runs where the pages allow it; a write never does.
template <class Copy>
bool WithCodeUnlocked(void* address, size_t size, bool writes, Copy copy) {
    const Access access = QueryAccess(address, size);
    if (access == Access::None) return false;
    DWORD previous = 0;
    const BOOL changed = VirtualProtect(address, size, PAGE_EXECUTE_READWRITE, &previous);
    const bool copied = changed || (!writes && access == Access::Readable);
    if (copied) copy();
    if (changed) {
        DWORD scratch = 0;
        VirtualProtect(address, size, previous, &scratch);
    }
    return copied;
}

}  // namespace

bool ProtectedWrite(void* address, const void* source, size_t size) {
    const bool written =
        WithCodeUnlocked(address, size, true, [&] { std::memcpy(address, source, size); });
    if (written) FlushInstructionCache(GetCurrentProcess(), address, size);
    return written;
}

bool ProtectedRead(void* address, void* destination, size_t size) {
    return WithCodeUnlocked(address, size, false,
                            [&] { std::memcpy(destination, address, size); });
}

bool CheckedRead(const void* address, void* destination, size_t size) {
    if (QueryAccess(address, size) != Access::Readable) return false;
    std::memcpy(destination, address, size);
    return true;
}

}  // namespace injector
