// kernel32 substitute: memory protection over mprotect, with each page's protection tracked
// so that VirtualProtect can report the previous one as Windows does.
#pragma once

#include "win_types.h"

#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_WRITECOPY 0x08u
#define PAGE_EXECUTE 0x10u
#define PAGE_EXECUTE_READ 0x20u
#define PAGE_EXECUTE_READWRITE 0x40u
#define PAGE_EXECUTE_WRITECOPY 0x80u

#define ERROR_NOACCESS 998u
#define ERROR_INVALID_ADDRESS 487u

typedef DWORD* PDWORD;

// Every page touching [address, address + size) gets `newProtect`; `oldProtect` receives the
// protection the first of them had. Fails on demand (substitute::Call::VirtualProtect).
BOOL VirtualProtect(LPVOID address, SIZE_T size, DWORD newProtect, PDWORD oldProtect);

namespace substitute {

// Test control: the protection the page holding `address` has now, 0 when it is not mapped.
DWORD PageProtection(const void* address);

}  // namespace substitute
