#include "host_entries.h"

#include <initializer_list>

#include "host_world.h"
#include "rw_engine.h"

namespace sim {
namespace {

HostCall Call(HostRoutine routine, void* self = nullptr, std::initializer_list<int32_t> args = {}) {
    HostCall call = {};
    call.routine = routine;
    call.name = HostRoutineName(routine);
    call.self = self;
    for (int32_t arg : args) call.args[call.argCount++] = arg;
    return call;
}

uint32_t ByteAnswer(HostRoutine routine, void* self, uint8_t answer) {
    RecordHostCall(Call(routine, self));
    return kJunkAboveByteAnswer | answer;
}

}  // namespace

RwBool __cdecl SimRwRenderStateSet(RwInt32 state, void* value) {
    HostCall call = Call(HostRoutine::RwRenderStateSet, nullptr, {state});
    call.value = value;
    RecordHostCall(call);
    return 1;
}

RwBool __cdecl SimRwTextureDestroy(RwTexture* texture) {
    HostCall call = Call(HostRoutine::RwTextureDestroy);
    call.texture = texture;
    RecordHostCall(call);
    DestroyTexture(texture);
    return 1;
}

void __thiscall SimSpriteDraw(HostSprite* sprite, const HostRect* rect, const HostColour* colour) {
    HostCall call = Call(HostRoutine::SpriteDraw, sprite);
    call.texture = sprite->texture;
    if (rect) call.rect = *rect;
    if (colour) call.colour = *colour;
    RecordHostCall(call);
}

void __thiscall SimSpriteConstruct(HostSprite* sprite) {
    sprite->texture = nullptr;
    RecordHostCall(Call(HostRoutine::SpriteConstruct, sprite));
}

void __thiscall SimSpriteDestruct(HostSprite* sprite) {
    HostCall call = Call(HostRoutine::SpriteDestruct, sprite);
    call.texture = sprite->texture;
    RecordHostCall(call);
    if (sprite->texture) DestroyTexture(sprite->texture);
    sprite->texture = nullptr;
}

void* __cdecl SimPlayerCharacter() {
    RecordHostCall(Call(HostRoutine::PlayerCharacter));
    return World().character;
}

void* __cdecl SimPlayerCharacterOf(int32_t player) {
    RecordHostCall(Call(HostRoutine::PlayerCharacter, nullptr, {player}));
    return World().character;
}

void* __cdecl SimPlayerVehicle() {
    RecordHostCall(Call(HostRoutine::PlayerVehicle));
    return World().vehicle;
}

void* __cdecl SimPlayerVehicleOf(int32_t player, int32_t second) {
    RecordHostCall(Call(HostRoutine::PlayerVehicle, nullptr, {player, second}));
    return World().vehicle;
}

void* __cdecl SimPad(int32_t number) {
    RecordHostCall(Call(HostRoutine::Pad, nullptr, {number}));
    return World().padObject;
}

uint32_t __thiscall SimPadHideQuery(void* pad) {
    return ByteAnswer(HostRoutine::PadHideQuery, pad, World().padHide);
}

uint32_t __thiscall SimPadRestoreQuery(void* pad) {
    return ByteAnswer(HostRoutine::PadRestoreQuery, pad, World().padRestore);
}

uint32_t __thiscall SimPadRestoreQueryElse(void* pad) {
    return ByteAnswer(HostRoutine::PadRestoreQueryElse, pad, World().padRestoreElse);
}

uint32_t __thiscall SimUserTracksAvailable(void* audio) {
    return ByteAnswer(HostRoutine::UserTracksAvailable, audio, World().userTracksAvailable);
}

void __thiscall SimRetuneRadio(void* audio, int32_t station) {
    RecordHostCall(Call(HostRoutine::RetuneRadio, audio, {station}));
}

void __thiscall SimSetRadioVolume(void* audio, uint32_t volumeSlot) {
    const int32_t volume = static_cast<int32_t>(volumeSlot & 0xFF);
    RecordHostCall(Call(HostRoutine::SetRadioVolume, audio, {volume}));
}

uint32_t __thiscall SimCurrentStation(void* audio) {
    return ByteAnswer(HostRoutine::CurrentStation, audio,
                      static_cast<uint8_t>(World().currentStation));
}

uint32_t __thiscall SimRadioActive(void* radioManager) {
    return ByteAnswer(HostRoutine::RadioActive, radioManager, World().radioActive);
}

}  // namespace sim
