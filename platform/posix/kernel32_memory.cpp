#include "kernel32_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "kernel32.h"
#include "substitute.h"

namespace {

uintptr_t PageSize() {
    static const uintptr_t size = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// Protection of every page VirtualProtect has set, by page address. Never destroyed: hook
// handles put game code back from static destructors at exit and still need it then.
std::map<uintptr_t, DWORD>& TrackedPages() {
    static auto* pages = new std::map<uintptr_t, DWORD>;
    return *pages;
}

DWORD FromPosix(bool read, bool write, bool execute) {
    if (execute) return write ? PAGE_EXECUTE_READWRITE : read ? PAGE_EXECUTE_READ : PAGE_EXECUTE;
    return write ? PAGE_READWRITE : read ? PAGE_READONLY : PAGE_NOACCESS;
}

// A page VirtualProtect never touched has the protection it was mapped with.
DWORD MappedProtection(uintptr_t page) {
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps) return 0;
    DWORD found = 0;
    char* line = nullptr;
    size_t capacity = 0;
    while (getline(&line, &capacity, maps) > 0) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        if (std::sscanf(line, "%lx-%lx %4s", &start, &end, perms) != 3) continue;
        if (page >= start && page < end) {
            found = FromPosix(perms[0] == 'r', perms[1] == 'w', perms[2] == 'x');
            break;
        }
    }
    std::free(line);
    std::fclose(maps);
    return found;
}

DWORD CurrentProtection(uintptr_t page) {
    auto it = TrackedPages().find(page);
    return it != TrackedPages().end() ? it->second : MappedProtection(page);
}

// Returns -1 for a protection value Windows would refuse.
int ToPosix(DWORD protect) {
    switch (protect) {
        case PAGE_NOACCESS: return PROT_NONE;
        case PAGE_READONLY: return PROT_READ;
        case PAGE_READWRITE:
        case PAGE_WRITECOPY: return PROT_READ | PROT_WRITE;
        case PAGE_EXECUTE: return PROT_EXEC;
        case PAGE_EXECUTE_READ: return PROT_READ | PROT_EXEC;
        case PAGE_EXECUTE_READWRITE:
        case PAGE_EXECUTE_WRITECOPY: return PROT_READ | PROT_WRITE | PROT_EXEC;
        default: return -1;
    }
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL VirtualProtect(LPVOID address, SIZE_T size, DWORD newProtect, PDWORD oldProtect) {
    if (substitute::ShouldFail(substitute::Call::VirtualProtect)) return Fail(ERROR_ACCESS_DENIED);
    if (!oldProtect) return Fail(ERROR_NOACCESS);
    const int posix = ToPosix(newProtect);
    if (posix < 0 || size == 0) return Fail(ERROR_INVALID_PARAMETER);

    const uintptr_t first = reinterpret_cast<uintptr_t>(address) & ~(PageSize() - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(address) + size + PageSize() - 1) &
                          ~(PageSize() - 1);
    const DWORD previous = CurrentProtection(first);
    if (previous == 0) return Fail(ERROR_INVALID_ADDRESS);
    if (mprotect(reinterpret_cast<void*>(first), end - first, posix) != 0)
        return Fail(ERROR_INVALID_ADDRESS);
    for (uintptr_t page = first; page < end; page += PageSize()) TrackedPages()[page] = newProtect;
    *oldProtect = previous;
    return TRUE;
}

namespace substitute {

DWORD PageProtection(const void* address) {
    return CurrentProtection(reinterpret_cast<uintptr_t>(address) & ~(PageSize() - 1));
}

}  // namespace substitute
