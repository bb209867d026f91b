// Vice City: where the radio strip's host routines and variables lie.
#pragma once

#include "../host_cells.h"
#include "versioned_addresses.h"

namespace games::vc {

using S = VersionedSlot;

inline constexpr HostCells kHostCells = {
    Fixed(0x649BA0),                     // rwRenderStateSet
    Fixed(0x64DEC0),                     // rwTextureDestroy
    Fixed(0x578710),                     // spriteDraw
    Fixed(0x578A60),                     // spriteConstruct
    Fixed(0x578A40),                     // spriteDestruct
    Fixed(0x4BC120),                     // playerCharacter
    Fixed(0x4BC1E0),                     // playerVehicle
    Versioned(S::HostPad),
    Versioned(S::HostPadHideQuery),
    Versioned(S::HostPadRestoreQuery),
    kNotInThisGame,                      // padRestoreQueryElse
    Fixed(0x5F9BB0),                     // userTracksAvailable
    Fixed(0x5F9730),                     // retuneRadio
    Fixed(0x5F9D20),                     // setRadioVolume
    kNotInThisGame,                      // currentStation
    kNotInThisGame,                      // radioActive
    Fixed(0x5F9EE0),                     // replacedRoutine

    Fixed(0xA10B8A),                     // audio
    kNotInThisGame,                      // radioManager
    Versioned(S::HostClock),
    Versioned(S::HostTimeStep),
    {Versioned(S::HostSuppressFlags1), Versioned(S::HostSuppressFlags2), Fixed(0x7E4688, 0x6D),
     Fixed(0xA10AF6)},
    Fixed(0x9B48DC),                     // screenWidth
    Fixed(0x9B48E0),                     // screenHeight
    Fixed(0x783998),                     // pendingStationSteps
    Fixed(0x869630, 0x2A),               // radioVolumeSetting
};

inline constexpr HostFields kHostFields = {0x244, 50, 0x23C, 0, 0, 0, 0};

inline constexpr EngineFunctionPointer kRenderStateThroughEngine = {0, 0};

// The player lookups take no arguments.
inline constexpr bool kPlayerLookupTakesIndex = false;

}  // namespace games::vc
