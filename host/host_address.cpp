#include "host_address.h"

#include "module_base.h"

void* HostAddress(uint32_t address) {
    const uint32_t at = HostModuleBase() + address - kHostPreferredBase;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(at));
}
