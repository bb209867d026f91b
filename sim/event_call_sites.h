// The game's calls that the plug-in events redirect: for the release the image is laid out
// for, each site is a real call to a game callee of its own that returns a known value.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "game_id.h"

namespace sim {

// Writes every event call site of release `code` (E8 rel32 to its callee, then C3) and the
// callees, then makes the sites' pages read-execute, as the game's code section is.
void WriteEventCallSites(Game game, int32_t code);

// Game address of the callee the stand-in gave `site`, 0 when it wrote none there.
uint32_t EventCallee(uint32_t site);

// What that callee returns: 0xC0000000 | site.
constexpr uint32_t EventCalleeResult(uint32_t site) { return 0xC0000000u | site; }

enum class GameEvent { RwStartup, FrameProcess, RwShutdown };

// The call sites of `event` in every release of `game`, in table order, each address once.
std::vector<uint32_t> EventCallSitesOf(Game game, GameEvent event);

// The five bytes at an event call site of the game, of any release, as the stand-in left
// them before anything was hooked.
std::array<uint8_t, 5> LaidOutSiteBytes(uint32_t site);

}  // namespace sim
