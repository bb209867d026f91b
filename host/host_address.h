// Game addresses are written as the executable lays itself out at its preferred base.
#pragma once

#include <cstdint>

inline constexpr uint32_t kHostPreferredBase = 0x400000;

// The run-time pointer to game address `address`: module base + address - 0x400000, in
// unsigned 32-bit arithmetic.
void* HostAddress(uint32_t address);
