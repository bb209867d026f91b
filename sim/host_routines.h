// The game's host routines and variables the radio plug-in uses, laid out for one game and
// release (host_layout.h); their answers and calls are in host_world.h.
//
// A typical test:
//   sim::ResetHostWorld();
//   sim::World().vehicle = sim::World().vehicleObject;
//   *sim::HostCellPointer<uint32_t>(selected_game::kHostCells.clock) = 5000;
//   ... run plug-in code ...
//   EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::SpriteDraw).size(), 1u);
#pragma once

#include <cstdint>

#include "../games/host_cell.h"
#include "game_id.h"

namespace sim {

// Writes a jump to the stand-in's routine at every routine of `game` for release `code`, the
// counting callee at the routine the plug-in replaces, San Andreas' engine globals, and zeroes
// the variables; remembers (game, code) for the functions below. Needs MapGameImage.
void InstallHostRoutines(Game game, int32_t code);

Game HostRoutinesGame();
int32_t HostRoutinesRelease();

// Game address of `cell` in the laid-out release (GameBytes takes it), 0 when it has none:
// a cell the game does not use, a versioned cell of an unknown release, or a fixed cell in
// an image mapped away from the preferred base.
uint32_t HostCellAddress(const games::HostCell& cell);

uint8_t* HostCellBytes(const games::HostCell& cell);  // null when it has no place

template <class T>
T* HostCellPointer(const games::HostCell& cell) {
    return reinterpret_cast<T*>(HostCellBytes(cell));
}

// How often the game's own routine that the plug-in replaces ran; 0 when it has no place.
uint32_t ReplacedRoutineCalls();

// Zeroes the laid-out variables; ResetHostWorld calls it.
void ZeroHostVariables();

}  // namespace sim
