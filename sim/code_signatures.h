// The code signatures by which the plug-ins tell a game's releases apart.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game_id.h"

namespace sim {

// What a San Andreas image holds at 0x401000 before any signature: 55 8B EC 83, a routine
// entry that matches neither of the two patterns probed there.
inline constexpr uint32_t kSanAndreasPlainEntry = 0x83EC8B55;

// Writes the probe bytes of every release in `codes`, in order, so a later one that probes
// the same address wins; unknown codes write nothing.
void WriteCodeSignatures(Game game, const int32_t* codes, size_t count);

}  // namespace sim
