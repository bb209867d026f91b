#include "host_routines.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game_code.h"
#include "game_image.h"
#include "host_layout.h"

namespace sim {
namespace {

// Plain storage: the image is laid out before any dynamic initialiser runs.
Game laidOutGame = Game::None;
int32_t laidOutCode = 0;

// The game keeps 32-bit pointers; host programs link their code below 4 GB for this.
uint32_t Address32(const void* p) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(p);
    if (at > UINT32_MAX) {
        std::fprintf(stderr, "game stand-in: %p does not fit a 32-bit game pointer\n", p);
        std::abort();
    }
    return static_cast<uint32_t>(at);
}

void Put32(uint32_t address, uint32_t value) { std::memcpy(GameBytes(address), &value, 4); }

}  // namespace

void InstallHostRoutines(Game game, int32_t code) {
    laidOutGame = game;
    laidOutCode = code;
    for (const HostPlacement& p : HostLayout(game, code, GameImageBase())) {
        switch (p.kind) {
            case PlacementKind::Jump: WriteJumpToRoutine(p.address, p.routine); break;
            case PlacementKind::CountingCallee: WriteGameCallee(p.address, 0); break;
            case PlacementKind::Variable: std::memset(GameBytes(p.address), 0, p.size); break;
            case PlacementKind::EnginePointer:
                Put32(p.address, Address32(GameBytes(kEngineGlobalsAddress)));
                break;
            case PlacementKind::EngineGlobals:
                std::memset(GameBytes(p.address), 0, p.size);
                Put32(p.address + p.size - 4, Address32(p.routine));
                break;
        }
    }
}

Game HostRoutinesGame() { return laidOutGame; }
int32_t HostRoutinesRelease() { return laidOutCode; }

uint32_t HostCellAddress(const games::HostCell& cell) {
    return CellAddress(laidOutGame, laidOutCode, GameImageBase(), cell);
}

uint8_t* HostCellBytes(const games::HostCell& cell) {
    const uint32_t address = HostCellAddress(cell);
    return address && GameImageBase() ? GameBytes(address) : nullptr;
}

uint32_t ReplacedRoutineCalls() {
    const games::HostCells* cells = HostCellsOf(laidOutGame);
    const uint32_t address = cells ? HostCellAddress(cells->replacedRoutine) : 0;
    return address ? GameCalleeCalls(address) : 0;
}

void ZeroHostVariables() {
    for (const HostPlacement& p : HostLayout(laidOutGame, laidOutCode, GameImageBase()))
        if (p.kind == PlacementKind::Variable) std::memset(GameBytes(p.address), 0, p.size);
}

}  // namespace sim
