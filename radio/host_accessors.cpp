#include "host_accessors.h"

#include <cstring>

#include "../games/selected_game.h"
#include "../host/injector/write_jump.h"
#include "../host/versioned_slots.h"
#include "../platform/platform.h"

namespace {

constexpr const games::HostCells& kCells = selected_game::kHostCells;
constexpr const games::HostFields& kFields = selected_game::kHostFields;

uint8_t* CellBytes(const games::HostCell& cell) {
    const uintptr_t base =
        cell.slot == games::kFixedCell
            ? uintptr_t{cell.address}
            : reinterpret_cast<uintptr_t>(
                  HostVersionedSlot(static_cast<selected_game::VersionedSlot>(cell.slot)));
    return reinterpret_cast<uint8_t*>(base + cell.offset);
}

// Game variables need not be aligned for their type: read and written bytewise.
template <class T>
T Read(const void* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <class T>
T Variable(const games::HostCell& cell) { return Read<T>(CellBytes(cell)); }

// A routine of the game as a function pointer of type Fn.
template <class Fn>
Fn Routine(const games::HostCell& cell) {
    return reinterpret_cast<Fn>(CellBytes(cell));
}

template <class Fn>
Fn Routine(uint32_t address) {
    return reinterpret_cast<Fn>(uintptr_t{address});
}

const uint8_t* Field(const void* object, uint32_t offset) {
    return static_cast<const uint8_t*>(object) + offset;
}

using Query = uint8_t(__thiscall*)(void*);  // a boolean answer in the low byte

}  // namespace

RwBool RwRenderStateSet(RwInt32 state, void* value) {
    using Fn = RwBool(__cdecl*)(RwInt32, void*);
    constexpr games::EngineFunctionPointer engine = selected_game::kRenderStateThroughEngine;
    if constexpr (engine.enginePointer != 0) {
        const uint32_t globals = Read<uint32_t>(Routine<const void*>(engine.enginePointer));
        return Routine<Fn>(Read<uint32_t>(Routine<const void*>(globals + engine.offset)))(state,
                                                                                          value);
    } else {
        return Routine<Fn>(kCells.rwRenderStateSet)(state, value);
    }
}

RwBool RwTextureDestroy(RwTexture* texture) {
    return Routine<RwBool(__cdecl*)(RwTexture*)>(kCells.rwTextureDestroy)(texture);
}

void HostSpriteDraw(HostSprite* sprite, const HostRect& rectangle, const HostColour& colour) {
    using Fn = void(__thiscall*)(HostSprite*, const HostRect*, const HostColour*);
    Routine<Fn>(kCells.spriteDraw)(sprite, &rectangle, &colour);
}

void HostSpriteConstruct(HostSprite* sprite) {
    Routine<void(__thiscall*)(HostSprite*)>(kCells.spriteConstruct)(sprite);
}

void HostSpriteDestruct(HostSprite* sprite) {
    Routine<void(__thiscall*)(HostSprite*)>(kCells.spriteDestruct)(sprite);
}

bool HostSpritesAreConstructed() { return games::IsUsed(kCells.spriteConstruct); }
bool HostSpritesAreDestructed() { return games::IsUsed(kCells.spriteDestruct); }

void* HostPlayerCharacter() {
    if constexpr (selected_game::kPlayerLookupTakesIndex)
        return Routine<void*(__cdecl*)(int32_t)>(kCells.playerCharacter)(-1);
    else
        return Routine<void*(__cdecl*)()>(kCells.playerCharacter)();
}

void* HostPlayerVehicle() {
    if constexpr (selected_game::kPlayerLookupTakesIndex)
        return Routine<void*(__cdecl*)(int32_t, int32_t)>(kCells.playerVehicle)(-1, 0);
    else
        return Routine<void*(__cdecl*)()>(kCells.playerVehicle)();
}

void* HostPad(int32_t player) { return Routine<void*(__cdecl*)(int32_t)>(kCells.pad)(player); }

bool HostPadHideQuery(void* pad) { return Routine<Query>(kCells.padHideQuery)(pad) != 0; }

bool HostPadRestoreQuery(void* pad) {
    if (Routine<Query>(kCells.padRestoreQuery)(pad) != 0) return true;
    return games::IsUsed(kCells.padRestoreQueryElse) &&
           Routine<Query>(kCells.padRestoreQueryElse)(pad) != 0;
}

void* HostAudio() { return CellBytes(kCells.audio); }

void* HostRadioManager() {
    return games::IsUsed(kCells.radioManager) ? CellBytes(kCells.radioManager) : nullptr;
}

bool HostUserTracksAvailable(void* audio) {
    return Routine<Query>(kCells.userTracksAvailable)(audio) != 0;
}

void HostRetuneRadio(void* audio, int32_t station) {
    Routine<void(__thiscall*)(void*, int32_t)>(kCells.retuneRadio)(audio, station);
}

void HostSetRadioVolume(void* audio, uint8_t volume) {
    Routine<void(__thiscall*)(void*, uint8_t)>(kCells.setRadioVolume)(audio, volume);
}

int8_t HostCurrentStation(void* audio) {
    return static_cast<int8_t>(Routine<Query>(kCells.currentStation)(audio));
}

bool HostRadioActive(void* radioManager) {
    return Routine<Query>(kCells.radioActive)(radioManager) != 0;
}

uint32_t HostClock() { return Variable<uint32_t>(kCells.clock); }
float HostTimeStep() { return Variable<float>(kCells.timeStep); }

uint8_t HostSuppressFlag(size_t index) {
    return index < kHostSuppressFlagCount ? Variable<uint8_t>(kCells.suppressFlags[index]) : 0;
}

int32_t HostScreenWidth() { return Variable<int32_t>(kCells.screenWidth); }
int32_t HostScreenHeight() { return Variable<int32_t>(kCells.screenHeight); }
int32_t HostPendingStationSteps() { return Variable<int32_t>(kCells.pendingStationSteps); }
uint8_t HostRadioVolumeSetting() { return Variable<uint8_t>(kCells.radioVolumeSetting); }

int32_t HostCharacterState(const void* character) {
    return Read<int32_t>(Field(character, kFields.characterState));
}

int32_t HostDrivingState() { return kFields.drivingState; }

uint8_t& HostVehicleRadioStation(void* vehicle) {
    return static_cast<uint8_t*>(vehicle)[kFields.vehicleRadioStation];
}

uint8_t HostVehicleRadioType(const void* vehicle) {
    return *Field(vehicle, kFields.vehicleRadioType);
}

int32_t HostVehicleClass(const void* vehicle) {
    return Read<int32_t>(Field(vehicle, kFields.vehicleClass));
}

uint8_t& HostRadioManagerPending(void* radioManager) {
    return static_cast<uint8_t*>(radioManager)[kFields.radioManagerPending];
}

void SetHostRadioManagerDeadline(void* radioManager, uint32_t clock) {
    std::memcpy(static_cast<uint8_t*>(radioManager) + kFields.radioManagerDeadline, &clock,
                sizeof clock);
}

void JumpOverHostReplacedRoutine(void (*routine)()) {
    injector::WriteJump(kCells.replacedRoutine.address, reinterpret_cast<const void*>(routine));
}
