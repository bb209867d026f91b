// Record of each game's accessor table: every host routine and variable the radio strip uses.
#pragma once

#include <cstdint>

#include "host_cell.h"

namespace games {

// Routines are free functions (cdecl) unless marked member (thiscall on i686).
struct HostCells {
    HostCell rwRenderStateSet;         // (state, value); unused where the engine globals hold it
    HostCell rwTextureDestroy;         // (texture)
    HostCell spriteDraw;               // sprite member; (rectangle*, colour*)
    HostCell spriteConstruct;          // sprite member; unused: the game's sprites need none
    HostCell spriteDestruct;           // sprite member; unused: never destroyed
    HostCell playerCharacter;          // () or (-1) -> character or null
    HostCell playerVehicle;            // () or (-1, 0) -> vehicle or null
    HostCell pad;                      // (0) -> pad object
    HostCell padHideQuery;             // pad member -> boolean in the low byte
    HostCell padRestoreQuery;          // pad member -> boolean in the low byte
    HostCell padRestoreQueryElse;      // pad member, asked when the first answers false
    HostCell userTracksAvailable;      // audio member -> boolean
    HostCell retuneRadio;              // audio member; (station id)
    HostCell setRadioVolume;           // audio member; (8-bit volume)
    HostCell currentStation;           // audio member -> signed 8-bit station id
    HostCell radioActive;              // radio manager member -> boolean
    HostCell replacedRoutine;          // member routine whose entry the strip's jump replaces

    HostCell audio;                    // object
    HostCell radioManager;             // object
    HostCell clock;                    // unsigned 32-bit milliseconds
    HostCell timeStep;                 // float
    HostCell suppressFlags[4];         // bytes; any non-zero hides the strip
    HostCell screenWidth;              // signed 32-bit pixels
    HostCell screenHeight;             // signed 32-bit pixels
    HostCell pendingStationSteps;      // signed 32-bit
    HostCell radioVolumeSetting;       // unsigned 8-bit
};

// Byte offsets of the host objects' fields the radio strip reads or writes; 0: not in this game.
struct HostFields {
    uint32_t characterState;       // signed 32-bit state code of the player character
    int32_t drivingState;          // its value while the player drives
    uint32_t vehicleRadioStation;  // unsigned 8-bit, read and written
    uint32_t vehicleRadioType;     // unsigned 8-bit; 3 and 255 are shown as off
    uint32_t vehicleClass;         // signed 32-bit; 10 is a bicycle
    uint32_t radioManagerPending;  // byte of the radio manager, tested and cleared
    uint32_t radioManagerDeadline; // unsigned 32-bit field of the radio manager, written
};

// Where the engine keeps RwRenderStateSet when no fixed address reaches it: a pointer to the
// engine globals, and the function pointer's byte offset inside them. 0: not this way.
struct EngineFunctionPointer {
    uint32_t enginePointer;  // game address of RwEngineInstance
    uint32_t offset;         // byte offset of the function pointer in the engine globals
};

}  // namespace games
