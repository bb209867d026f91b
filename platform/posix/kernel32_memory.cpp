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

// The mapping of the process that holds `page`, as /proc/self/maps lists it; protection 0 and
// the gap up to the next mapping (end 0: none follows) when nothing is mapped there.
struct Mapping {
    uintptr_t start;
    uintptr_t end;
    DWORD protection;
};

Mapping MappingAt(uintptr_t page) {
    Mapping found{page, 0, 0};
    FILE* maps = std::fopen("/proc/self/maps", "r");
    if (!maps) return found;
    char* line = nullptr;
    size_t capacity = 0;
    while (getline(&line, &capacity, maps) > 0) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        if (std::sscanf(line, "%lx-%lx %4s", &start, &end, perms) != 3) continue;
        if (page >= start && page < end) {
            found = {start, end, FromPosix(perms[0] == 'r', perms[1] == 'w', perms[2] == 'x')};
            break;
        }
        if (start > page) {  // the listing is sorted: `page` lies in the gap before this one
            found.end = start;
            break;
        }
    }
    std::free(line);
    std::fclose(maps);
    return found;
}

// A page VirtualProtect never touched has the protection it was mapped with.
DWORD MappedProtection(uintptr_t page) { return MappingAt(page).protection; }

// A page VirtualProtect set keeps that protection only while it is still mapped.
DWORD CurrentProtection(uintptr_t page) {
    const DWORD mapped = MappedProtection(page);
    if (mapped == 0) return 0;
    auto it = TrackedPages().find(page);
    return it != TrackedPages().end() ? it->second : mapped;
}

std::vector<substitute::InstructionFlush>& Flushes() {
    static auto* flushes = new std::vector<substitute::InstructionFlush>;
    return *flushes;
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

SIZE_T VirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T length) {
    if (!info || length < sizeof(MEMORY_BASIC_INFORMATION)) {
        SetLastError(ERROR_BAD_LENGTH);
        return 0;
    }
    // The user half of a 64-bit address space (47 bits) is all a process can ask about.
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    if (at >= (uintptr_t{1} << 47)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const uintptr_t page = at & ~(PageSize() - 1);
    const Mapping mapping = MappingAt(page);
    MEMORY_BASIC_INFORMATION answer{};
    answer.BaseAddress = reinterpret_cast<LPVOID>(page);
    if (mapping.protection == 0) {
        answer.State = MEM_FREE;
        answer.Protect = PAGE_NOACCESS;
        answer.RegionSize = (mapping.end ? mapping.end : (uintptr_t{1} << 47)) - page;
    } else {
        // Pages VirtualProtect changed split the mapping into regions of their own. Untracked
        // pages between two tracked ones are passed in one step: a mapping can be huge.
        const DWORD protection = CurrentProtection(page);
        uintptr_t end = page + PageSize();
        auto tracked = TrackedPages().upper_bound(page);
        while (end < mapping.end) {
            if (tracked != TrackedPages().end() && tracked->first == end) {
                if (tracked->second != protection) break;
                ++tracked;
                end += PageSize();
            } else if (protection == mapping.protection) {
                end = tracked != TrackedPages().end() && tracked->first < mapping.end
                          ? tracked->first
                          : mapping.end;
            } else {
                break;  // an untracked page keeps the mapping's own protection
            }
        }
        answer.AllocationBase = reinterpret_cast<LPVOID>(mapping.start);
        answer.AllocationProtect = mapping.protection;
        answer.RegionSize = end - page;
        answer.State = MEM_COMMIT;
        answer.Protect = protection;
        answer.Type = MEM_PRIVATE;
    }
    *info = answer;
    return sizeof answer;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(intptr_t{-1}); }

BOOL FlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size) {
    if (process != GetCurrentProcess()) return Fail(ERROR_INVALID_HANDLE);
    Flushes().push_back({address, size});
    return TRUE;
}

namespace substitute {

DWORD PageProtection(const void* address) {
    return CurrentProtection(reinterpret_cast<uintptr_t>(address) & ~(PageSize() - 1));
}

const std::vector<InstructionFlush>& InstructionFlushes() { return Flushes(); }

void ClearInstructionFlushes() { Flushes().clear(); }

}  // namespace substitute
