#include "module_base.h"

#include "../platform/platform.h"
#include "host_address.h"

namespace {

// Without the main module's handle, the address the executables are linked at: they carry no
// relocations, so they are always loaded there, and a base of 0 would aim every access at
// the first pages of the address space.
uint32_t FindModuleBase() {
    const HMODULE game = GetModuleHandleA(nullptr);
    return game ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(game)) : kHostPreferredBase;
}

}  // namespace

uint32_t HostModuleBase() {
    static const uint32_t base = FindModuleBase();
    return base;
}
