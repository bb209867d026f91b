// Load address of the process's main module, the game executable.
#pragma once

#include <cstdint>

// Asked of GetModuleHandleA once, on first use, and kept for the life of the process.
uint32_t HostModuleBase();
