// What the stand-in's host routines answer and what they were asked: tests set the answers in
// World() and read every call, in order, from HostCallLog().
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../radio/host_types.h"

namespace sim {

// The routines, named as their fields in games::HostCells.
enum class HostRoutine {
    RwRenderStateSet,
    RwTextureDestroy,
    SpriteDraw,
    SpriteConstruct,
    SpriteDestruct,
    PlayerCharacter,
    PlayerVehicle,
    Pad,
    PadHideQuery,
    PadRestoreQuery,
    PadRestoreQueryElse,
    UserTracksAvailable,
    RetuneRadio,
    SetRadioVolume,
    CurrentStation,
    RadioActive,
    Count
};

// "rwRenderStateSet", "spriteDraw", ...
const char* HostRoutineName(HostRoutine routine);

// Bytes of each object the stand-in owns; every games::HostFields offset fits.
inline constexpr size_t kHostObjectBytes = 0x600;

struct HostWorld {
    // Objects the lookups can answer; tests fill their fields (ObjectField).
    alignas(16) uint8_t characterObject[kHostObjectBytes] = {};
    alignas(16) uint8_t vehicleObject[kHostObjectBytes] = {};
    alignas(16) uint8_t padObject[kHostObjectBytes] = {};  // what pad(0) answers, always

    void* character = nullptr;  // playerCharacter's answer: null or characterObject
    void* vehicle = nullptr;    // playerVehicle's answer: null or vehicleObject
    // Byte answers. They come back with junk above the low byte of eax, as the game's do.
    uint8_t padHide = 0;
    uint8_t padRestore = 0;
    uint8_t padRestoreElse = 0;
    uint8_t userTracksAvailable = 0;
    int8_t currentStation = 0;
    uint8_t radioActive = 0;
};

// What the upper 24 bits of eax hold after a byte answer.
inline constexpr uint32_t kJunkAboveByteAnswer = 0x5AA5C300;

// One call of a host routine.
struct HostCall {
    HostRoutine routine;
    const char* name;           // HostRoutineName(routine)
    void* self;                 // `this` of a member routine; null for free routines
    int32_t args[2];            // integer arguments in order: render state, player index, pad
                                // number, station, volume
    int argCount;               // how many of args the routine took
    void* value;                // rwRenderStateSet: the value
    RwTexture* texture;         // rwTextureDestroy: its argument; spriteDraw: the sprite's;
                                // spriteDestruct: the one it destroyed, if any
    HostRect rect;              // spriteDraw
    HostColour colour;          // spriteDraw
};

// Lives until the process ends: the plug-in's static sprites are destructed after every
// static object of the stand-in.
HostWorld& World();

const std::vector<HostCall>& HostCallLog();
std::vector<HostCall> HostCallsTo(HostRoutine routine);
void ClearHostCallLog();

// Clears the log, every answer and object, and zeroes the laid-out variables.
void ResetHostWorld();

// Appends to the log; the stand-in's routines call it.
void RecordHostCall(const HostCall& call);

// A field of an object the plug-in reads by byte offset (games::HostFields).
template <class T>
T& ObjectField(void* object, uint32_t offset) {
    return *reinterpret_cast<T*>(static_cast<uint8_t*>(object) + offset);
}

}  // namespace sim
