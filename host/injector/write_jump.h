// Replacing a game routine's entry with a jump to a routine of the plug-in.
#pragma once

#include <cstdint>

namespace injector {

// Writes E9 rel32 to `destination` at HostAddress(address). Never undone.
void WriteJump(uint32_t address, const void* destination);

}  // namespace injector
