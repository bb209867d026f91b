#include "host_layout.h"

#include <algorithm>
#include <cstddef>

#include "../games/iii/host_cells.h"
#include "../games/sa/host_cells.h"
#include "../games/sa/versioned_addresses.h"
#include "../games/vc/host_cells.h"
#include "game_code.h"
#include "game_image.h"
#include "host_entries.h"
#include "host_world.h"

namespace sim {
namespace {

struct GameTables {
    const games::HostCells* cells;
    const games::VersionedAddress* versioned;
    size_t versionedCount;
    games::HostFields fields;
    games::EngineFunctionPointer renderStateThroughEngine;
    bool playerLookupTakesIndex;
};

constexpr bool FieldsFitObjects(const games::HostFields& f) {
    return std::max({f.characterState, f.vehicleRadioStation, f.vehicleRadioType,
                     f.vehicleClass}) + 4 <= kHostObjectBytes;
}
static_assert(FieldsFitObjects(games::iii::kHostFields));
static_assert(FieldsFitObjects(games::vc::kHostFields));
static_assert(FieldsFitObjects(games::sa::kHostFields));
static_assert(kEngineGlobalsAddress + games::sa::kRenderStateThroughEngine.offset + 4 <=
              kEventCalleesStart);

const GameTables* TablesOf(Game game) {
    static const GameTables iii = {
        &games::iii::kHostCells, games::iii::kVersionedAddresses.data(),
        games::iii::kVersionedAddresses.size(), games::iii::kHostFields,
        games::iii::kRenderStateThroughEngine, games::iii::kPlayerLookupTakesIndex};
    static const GameTables vc = {
        &games::vc::kHostCells, games::vc::kVersionedAddresses.data(),
        games::vc::kVersionedAddresses.size(), games::vc::kHostFields,
        games::vc::kRenderStateThroughEngine, games::vc::kPlayerLookupTakesIndex};
    static const GameTables sa = {
        &games::sa::kHostCells, games::sa::kVersionedAddresses.data(),
        games::sa::kVersionedAddresses.size(), games::sa::kHostFields,
        games::sa::kRenderStateThroughEngine, games::sa::kPlayerLookupTakesIndex};
    switch (game) {
        case Game::III: return &iii;
        case Game::VC: return &vc;
        case Game::SA: return &sa;
        case Game::None: break;
    }
    return nullptr;
}

uint32_t VersionedAt(const games::VersionedAddress& address, int32_t code) {
    switch (code) {
        case 100: return address.at100;
        case 110: return address.at110;
        case 120: return address.at120;
        default: return 0;
    }
}

uint32_t Resolve(const GameTables& tables, int32_t code, uint32_t base,
                 const games::HostCell& cell) {
    if (!games::IsUsed(cell)) return 0;
    if (cell.slot == games::kFixedCell)
        return base == kPreferredImageBase ? cell.address + cell.offset : 0;
    if (cell.slot < 0 || static_cast<size_t>(cell.slot) >= tables.versionedCount) return 0;
    const uint32_t at = VersionedAt(tables.versioned[cell.slot], code);
    return at ? at + cell.offset : 0;
}

template <class Routine>
const void* Entry(Routine routine) {
    return reinterpret_cast<const void*>(routine);
}

}  // namespace

const games::HostCells* HostCellsOf(Game game) {
    const GameTables* tables = TablesOf(game);
    return tables ? tables->cells : nullptr;
}

const games::HostFields* HostFieldsOf(Game game) {
    const GameTables* tables = TablesOf(game);
    return tables ? &tables->fields : nullptr;
}

uint32_t CellAddress(Game game, int32_t code, uint32_t base, const games::HostCell& cell) {
    const GameTables* tables = TablesOf(game);
    return tables ? Resolve(*tables, code, base, cell) : 0;
}

std::vector<HostPlacement> HostLayout(Game game, int32_t code, uint32_t base) {
    std::vector<HostPlacement> layout;
    const GameTables* tables = TablesOf(game);
    if (!tables) return layout;
    const games::HostCells& c = *tables->cells;
    auto place = [&](const char* name, const games::HostCell& cell, uint32_t size,
                     PlacementKind kind, const void* routine) {
        if (const uint32_t at = Resolve(*tables, code, base, cell))
            layout.push_back({name, at, size, kind, routine});
    };

    const bool indexed = tables->playerLookupTakesIndex;
    const struct {
        HostRoutine routine;
        const games::HostCell& cell;
        const void* entry;
    } routines[] = {
        {HostRoutine::RwRenderStateSet, c.rwRenderStateSet, Entry(&SimRwRenderStateSet)},
        {HostRoutine::RwTextureDestroy, c.rwTextureDestroy, Entry(&SimRwTextureDestroy)},
        {HostRoutine::SpriteDraw, c.spriteDraw, Entry(&SimSpriteDraw)},
        {HostRoutine::SpriteConstruct, c.spriteConstruct, Entry(&SimSpriteConstruct)},
        {HostRoutine::SpriteDestruct, c.spriteDestruct, Entry(&SimSpriteDestruct)},
        {HostRoutine::PlayerCharacter, c.playerCharacter,
         indexed ? Entry(&SimPlayerCharacterOf) : Entry(&SimPlayerCharacter)},
        {HostRoutine::PlayerVehicle, c.playerVehicle,
         indexed ? Entry(&SimPlayerVehicleOf) : Entry(&SimPlayerVehicle)},
        {HostRoutine::Pad, c.pad, Entry(&SimPad)},
        {HostRoutine::PadHideQuery, c.padHideQuery, Entry(&SimPadHideQuery)},
        {HostRoutine::PadRestoreQuery, c.padRestoreQuery, Entry(&SimPadRestoreQuery)},
        {HostRoutine::PadRestoreQueryElse, c.padRestoreQueryElse, Entry(&SimPadRestoreQueryElse)},
        {HostRoutine::UserTracksAvailable, c.userTracksAvailable, Entry(&SimUserTracksAvailable)},
        {HostRoutine::RetuneRadio, c.retuneRadio, Entry(&SimRetuneRadio)},
        {HostRoutine::SetRadioVolume, c.setRadioVolume, Entry(&SimSetRadioVolume)},
        {HostRoutine::CurrentStation, c.currentStation, Entry(&SimCurrentStation)},
        {HostRoutine::RadioActive, c.radioActive, Entry(&SimRadioActive)},
    };
    const uint32_t jump = static_cast<uint32_t>(JumpToRoutineSize());
    for (const auto& row : routines)
        place(HostRoutineName(row.routine), row.cell, jump, PlacementKind::Jump, row.entry);
    place("replacedRoutine", c.replacedRoutine, kGameCalleeSize, PlacementKind::CountingCallee,
          nullptr);

    const struct {
        const char* name;
        const games::HostCell& cell;
        uint32_t size;
    } variables[] = {
        {"clock", c.clock, 4},
        {"timeStep", c.timeStep, 4},
        {"suppressFlags[0]", c.suppressFlags[0], 1},
        {"suppressFlags[1]", c.suppressFlags[1], 1},
        {"suppressFlags[2]", c.suppressFlags[2], 1},
        {"suppressFlags[3]", c.suppressFlags[3], 1},
        {"screenWidth", c.screenWidth, 4},
        {"screenHeight", c.screenHeight, 4},
        {"pendingStationSteps", c.pendingStationSteps, 4},
        {"radioVolumeSetting", c.radioVolumeSetting, 1},
    };
    for (const auto& row : variables)
        place(row.name, row.cell, row.size, PlacementKind::Variable, nullptr);

    // The radio manager's fields the plug-in writes start zeroed like the rest.
    const games::HostFields& f = tables->fields;
    games::HostCell field = c.radioManager;
    field.offset = c.radioManager.offset + f.radioManagerPending;
    if (f.radioManagerPending)
        place("radioManager pending", field, 1, PlacementKind::Variable, nullptr);
    field.offset = c.radioManager.offset + f.radioManagerDeadline;
    if (f.radioManagerDeadline)
        place("radioManager deadline", field, 4, PlacementKind::Variable, nullptr);

    const games::EngineFunctionPointer& engine = tables->renderStateThroughEngine;
    if (engine.enginePointer && base == kPreferredImageBase) {
        layout.push_back({"engine pointer", engine.enginePointer, 4,
                          PlacementKind::EnginePointer, nullptr});
        layout.push_back({"engine globals", kEngineGlobalsAddress, engine.offset + 4,
                          PlacementKind::EngineGlobals, Entry(&SimRwRenderStateSet)});
    }
    return layout;
}

}  // namespace sim
