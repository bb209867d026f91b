// The stand-in's host routines, in the game's calling conventions: member routines thiscall
// (their object first), free routines cdecl. Byte answers are returned in a full 32-bit
// register whose upper bits hold kJunkAboveByteAnswer.
#pragma once

#include <cstdint>

#include "../platform/platform.h"
#include "../radio/host_types.h"

namespace sim {

RwBool __cdecl SimRwRenderStateSet(RwInt32 state, void* value);
RwBool __cdecl SimRwTextureDestroy(RwTexture* texture);

void __thiscall SimSpriteDraw(HostSprite* sprite, const HostRect* rect, const HostColour* colour);
void __thiscall SimSpriteConstruct(HostSprite* sprite);
void __thiscall SimSpriteDestruct(HostSprite* sprite);

// III and Vice City look the player up without arguments, San Andreas by player index.
void* __cdecl SimPlayerCharacter();
void* __cdecl SimPlayerCharacterOf(int32_t player);
void* __cdecl SimPlayerVehicle();
void* __cdecl SimPlayerVehicleOf(int32_t player, int32_t second);

void* __cdecl SimPad(int32_t number);
uint32_t __thiscall SimPadHideQuery(void* pad);
uint32_t __thiscall SimPadRestoreQuery(void* pad);
uint32_t __thiscall SimPadRestoreQueryElse(void* pad);

uint32_t __thiscall SimUserTracksAvailable(void* audio);
void __thiscall SimRetuneRadio(void* audio, int32_t station);
// The volume byte comes in a 32-bit slot; like the game, only its low byte counts.
void __thiscall SimSetRadioVolume(void* audio, uint32_t volumeSlot);
uint32_t __thiscall SimCurrentStation(void* audio);
uint32_t __thiscall SimRadioActive(void* radioManager);

}  // namespace sim
