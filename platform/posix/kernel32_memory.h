// kernel32 substitute: memory protection over mprotect, with each page's protection tracked
// so that VirtualProtect can report the previous one as Windows does.
#pragma once

#include <vector>

#include "win_types.h"

#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_WRITECOPY 0x08u
#define PAGE_EXECUTE 0x10u
#define PAGE_EXECUTE_READ 0x20u
#define PAGE_EXECUTE_READWRITE 0x40u
#define PAGE_EXECUTE_WRITECOPY 0x80u
#define PAGE_GUARD 0x100u

#define MEM_COMMIT 0x1000u
#define MEM_RESERVE 0x2000u
#define MEM_FREE 0x10000u
#define MEM_PRIVATE 0x20000u

#define ERROR_NOACCESS 998u
#define ERROR_INVALID_ADDRESS 487u
#define ERROR_BAD_LENGTH 24u

typedef DWORD* PDWORD;

typedef struct _MEMORY_BASIC_INFORMATION {
    LPVOID BaseAddress;
    LPVOID AllocationBase;
    DWORD AllocationProtect;
    SIZE_T RegionSize;
    DWORD State;
    DWORD Protect;
    DWORD Type;
} MEMORY_BASIC_INFORMATION, *PMEMORY_BASIC_INFORMATION;

// Every page touching [address, address + size) gets `newProtect`; `oldProtect` receives the
// protection the first of them had. Fails on demand (substitute::Call::VirtualProtect).
BOOL VirtualProtect(LPVOID address, SIZE_T size, DWORD newProtect, PDWORD oldProtect);

// The region of pages from the one holding `address` on that share one state and protection.
// A page nothing is mapped at is MEM_FREE with PAGE_NOACCESS (Windows leaves a free region's
// protection undefined; whoever reads it there is not told it may read). Answers the bytes
// written to `info`, 0 when `length` is too small (ERROR_BAD_LENGTH) or the address lies above
// the process's address space (ERROR_INVALID_PARAMETER).
SIZE_T VirtualQuery(LPCVOID address, PMEMORY_BASIC_INFORMATION info, SIZE_T length);

// The pseudo-handle of the calling process, (HANDLE)-1 as Windows gives it.
HANDLE GetCurrentProcess();

// x86 keeps its instruction cache coherent, so there is nothing to flush: what tests need is
// that code patched in place was flushed. Every call is logged; a handle other than the
// current process's fails with ERROR_INVALID_HANDLE.
BOOL FlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size);

namespace substitute {

// Test control: the protection the page holding `address` has now, 0 when it is not mapped.
DWORD PageProtection(const void* address);

// Test control: the ranges FlushInstructionCache was given, oldest first, since the last
// ClearInstructionFlushes.
struct InstructionFlush {
    const void* address;
    SIZE_T size;
};
const std::vector<InstructionFlush>& InstructionFlushes();
void ClearInstructionFlushes();

}  // namespace substitute
