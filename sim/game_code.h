// Machine code the stand-in writes into the game image and runs there as the game would.
// Its own code and data sit above every address of the games' tables:
//
//   0x1000000  launcher: calls a game address with the stack as a game call finds it
//   0x1000040  engine globals (San Andreas: RwEngineInstance points here)
//   0x1000100  callees of the event call sites, 16 bytes each
//   0x1080000  scratch for tests, up to the end of the image at 0x1100000
#pragma once

#include <cstdint>

namespace sim {

inline constexpr uint32_t kLauncherAddress = 0x1000000;
inline constexpr uint32_t kEngineGlobalsAddress = 0x1000040;
inline constexpr uint32_t kEventCalleesStart = 0x1000100;
inline constexpr uint32_t kScratchStart = 0x1080000;
inline constexpr uint32_t kScratchEnd = 0x1100000;
inline constexpr uint32_t kGameCalleeSize = 16;

// A game routine at `address` that counts its calls and returns `result` in eax:
//   FF 05 m32    inc dword [counter]   (x86-64: rip-relative)
//   B8 imm32     mov eax, result
//   C3           ret
//   counter      32-bit, at address + 12
void WriteGameCallee(uint32_t address, uint32_t result);
uint32_t GameCalleeCalls(uint32_t address);

// A call site: E8 rel32 to `callee`, then C3, so that running the site runs the call.
void WriteCallSite(uint32_t site, uint32_t callee);

// Writes the launcher; RunGameCode needs it. The stand-in's image set-up writes it.
void WriteLauncher();

// Where the E8 or E9 rel32 at game address `address` leads, null for any other instruction.
const void* BranchTarget(uint32_t address);

// Calls the code at game address `address` through the launcher, answering eax.
uint32_t RunGameCode(uint32_t address);

}  // namespace sim
