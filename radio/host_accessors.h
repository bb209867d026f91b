// The radio strip's way into the game: one small function per host routine, object or
// variable. Where each lies is data in games/<game>/host_cells.h; nothing else in the strip
// uses a game address. Member routines are called thiscall with their object.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host_types.h"

// RenderWare.
RwBool RwRenderStateSet(RwInt32 state, void* value);
RwBool RwTextureDestroy(RwTexture* texture);

// 2D sprites.
void HostSpriteDraw(HostSprite* sprite, const HostRect& rectangle, const HostColour& colour);
void HostSpriteConstruct(HostSprite* sprite);
void HostSpriteDestruct(HostSprite* sprite);
bool HostSpritesAreConstructed();  // the game's sprites need HostSpriteConstruct
bool HostSpritesAreDestructed();   // and HostSpriteDestruct when the plug-in unloads

// The player, as the game looks it up; null when there is none.
void* HostPlayerCharacter();
void* HostPlayerVehicle();

// Pads.
void* HostPad(int32_t player);
bool HostPadHideQuery(void* pad);
bool HostPadRestoreQuery(void* pad);  // with the game's second query where it has one

// Audio and radio.
void* HostAudio();
void* HostRadioManager();  // null in the games without one
bool HostUserTracksAvailable(void* audio);
void HostRetuneRadio(void* audio, int32_t station);
void HostSetRadioVolume(void* audio, uint8_t volume);
int8_t HostCurrentStation(void* audio);
bool HostRadioActive(void* radioManager);

// Variables.
uint32_t HostClock();
float HostTimeStep();
inline constexpr size_t kHostSuppressFlagCount = 4;
uint8_t HostSuppressFlag(size_t index);  // index < kHostSuppressFlagCount
int32_t HostScreenWidth();
int32_t HostScreenHeight();
int32_t HostPendingStationSteps();
uint8_t HostRadioVolumeSetting();

// Fields of host objects.
int32_t HostCharacterState(const void* character);
int32_t HostDrivingState();                       // the state code while the player drives
uint8_t& HostVehicleRadioStation(void* vehicle);  // III, Vice City
uint8_t HostVehicleRadioType(const void* vehicle);  // San Andreas
int32_t HostVehicleClass(const void* vehicle);      // San Andreas
uint8_t& HostRadioManagerPending(void* radioManager);
void SetHostRadioManagerDeadline(void* radioManager, uint32_t clock);

// Overwrites the entry of the game routine the strip replaces with a jump to `routine`.
void JumpOverHostReplacedRoutine(void (*routine)());
