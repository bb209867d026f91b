// The game executable's address space as the plug-ins expect it: an image at 0x400000
// (or a relocated base) into which the stand-in writes code and jumps to its own routines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sim {

inline constexpr uint32_t kPreferredImageBase = 0x400000;
// Large enough for every fixed address of the three games (San Andreas data reaches 0xC9xxxx).
inline constexpr size_t kGameImageSize = 0xD00000;

// Makes the image writable and executable at `base`; false when the range cannot be had.
// Calling it again with the same base is harmless.
bool MapGameImage(uint32_t base = kPreferredImageBase);

// Base the image was mapped at, 0 before MapGameImage succeeded.
uint32_t GameImageBase();

// Pointer to game address `address` as laid out at the preferred base, shifted to the mapping.
uint8_t* GameBytes(uint32_t address);

// Writes an unconditional jump at `address` to a routine of the stand-in.
// x86-64: FF 25 00000000 <abs64> (14 bytes); i686: E9 rel32 (5 bytes).
void WriteJumpToRoutine(uint32_t address, const void* routine);

// Bytes a jump written by WriteJumpToRoutine occupies.
size_t JumpToRoutineSize();

}  // namespace sim
