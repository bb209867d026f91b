// Where the stand-in puts each host routine and variable of a game, per release and image
// base, as plain data: InstallHostRoutines writes it, tests check that nothing overlaps.
#pragma once

#include <cstdint>
#include <vector>

#include "../games/host_cells.h"
#include "game_id.h"

namespace sim {

enum class PlacementKind {
    Jump,            // a jump to `routine`
    CountingCallee,  // the routine the plug-in replaces: a counting game callee
    Variable,        // `size` bytes, zeroed
    EnginePointer,   // 32-bit address of the engine globals (San Andreas' RwEngineInstance)
    EngineGlobals,   // `size` bytes; the last four hold the 32-bit address of `routine`
};

struct HostPlacement {
    const char* name;
    uint32_t address;  // game address as laid out at the preferred base (GameBytes takes it)
    uint32_t size;     // bytes written there
    PlacementKind kind;
    const void* routine;
};

// Every placement of `game` for release `code` with the image at `base`. Versioned cells need
// a known release; fixed cells need the preferred base, nothing being mapped where they lie.
std::vector<HostPlacement> HostLayout(Game game, int32_t code, uint32_t base);

// Game address of `cell` under the same rules, 0 when it has no place.
uint32_t CellAddress(Game game, int32_t code, uint32_t base, const games::HostCell& cell);

// The game's table of cells, null for Game::None.
const games::HostCells* HostCellsOf(Game game);

// The byte offsets of its objects' fields, null for Game::None.
const games::HostFields* HostFieldsOf(Game game);

}  // namespace sim
