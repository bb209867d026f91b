#include "module_base.h"

#include "../platform/platform.h"

uint32_t HostModuleBase() {
    static const uint32_t base =
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));
    return base;
}
