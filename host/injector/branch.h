// The x86 branch instructions the hooking layer reads and writes (32-bit, little-endian):
//
//   bytes      meaning                          target
//   E8 r32     relative call                    instruction + 5 + r32
//   E9 r32     relative jump                    instruction + 5 + r32
//   FF 15 m32  indirect call through [m32]      the 32-bit value stored at m32
//   FF 25 m32  indirect jump through [m32]      the 32-bit value stored at m32
#pragma once

#include <cstdint>

namespace injector {

inline constexpr uint8_t kRelativeCall = 0xE8;
inline constexpr uint8_t kRelativeJump = 0xE9;

// Target of the branch at `address`, or null for any other instruction and for bytes that
// cannot be read. Its bytes are read under protection changes, an indirect branch's pointer
// cell without one.
void* BranchDestination(void* address);

// Writes `opcode` (E8 or E9) and destination - (address + 5) after it at `address`: five bytes
// under one protection change, then flushed from the instruction cache.
void WriteRelativeBranch(void* address, uint8_t opcode, const void* destination);

}  // namespace injector
