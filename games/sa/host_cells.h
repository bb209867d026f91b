// San Andreas: where the radio strip's host routines and variables lie. Every one is fixed.
#pragma once

#include "../host_cells.h"

namespace games::sa {

inline constexpr HostCells kHostCells = {
    kNotInThisGame,                      // rwRenderStateSet: through the engine globals
    Fixed(0x7F3820),                     // rwTextureDestroy
    Fixed(0x728350),                     // spriteDraw
    Fixed(0x727230),                     // spriteConstruct
    kNotInThisGame,                      // spriteDestruct
    Fixed(0x56E210),                     // playerCharacter
    Fixed(0x56E0D0),                     // playerVehicle
    Fixed(0x53FB70),                     // pad
    Fixed(0x5400D0),                     // padHideQuery
    Fixed(0x5405B0),                     // padRestoreQuery
    Fixed(0x5405E0),                     // padRestoreQueryElse
    kNotInThisGame,                      // userTracksAvailable
    kNotInThisGame,                      // retuneRadio
    Fixed(0x506DE0),                     // setRadioVolume
    Fixed(0x507040),                     // currentStation
    Fixed(0x4E9800),                     // radioActive
    Fixed(0x507030),                     // replacedRoutine

    Fixed(0xB6BC90),                     // audio
    Fixed(0x8CB6F8),                     // radioManager
    Fixed(0xB7CB84),                     // clock
    Fixed(0xB7CB5C),                     // timeStep
    {Fixed(0xB7CB49), Fixed(0xB7CB48), Fixed(0xB6F065), Fixed(0xA43088)},
    Fixed(0xC17044),                     // screenWidth
    Fixed(0xC17048),                     // screenHeight
    Fixed(0x8CB6F8, 0x6C),               // pendingStationSteps: a field of the radio manager
    Fixed(0xBA6748, 0x50),               // radioVolumeSetting
};

inline constexpr HostFields kHostFields = {0x530, 50, 0, 0x1D3, 0x594, 0x01, 0x54};

// RwEngineInstance; RwRenderStateSet is the function pointer at byte 32 of the engine globals.
inline constexpr EngineFunctionPointer kRenderStateThroughEngine = {0xC97B24, 32};

// The player lookups take the player index: character (-1), vehicle (-1, 0).
inline constexpr bool kPlayerLookupTakesIndex = true;

}  // namespace games::sa
