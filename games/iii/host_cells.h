// III: where the radio strip's host routines and variables lie.
#pragma once

#include "../host_cells.h"
#include "versioned_addresses.h"

namespace games::iii {

using S = VersionedSlot;

inline constexpr HostCells kHostCells = {
    Fixed(0x5A43C0),                     // rwRenderStateSet
    Fixed(0x5A7330),                     // rwTextureDestroy
    Versioned(S::HostSpriteDraw),        // spriteDraw
    kNotInThisGame,                      // spriteConstruct
    kNotInThisGame,                      // spriteDestruct
    Fixed(0x4A1150),                     // playerCharacter
    Fixed(0x4A10C0),                     // playerVehicle
    Fixed(0x492F60),                     // pad
    Fixed(0x4935F0),                     // padHideQuery
    Fixed(0x493870),                     // padRestoreQuery
    kNotInThisGame,                      // padRestoreQueryElse
    Versioned(S::HostUserTracksAvailable),
    Versioned(S::HostRetuneRadio),
    Versioned(S::HostSetRadioVolume),
    kNotInThisGame,                      // currentStation
    kNotInThisGame,                      // radioActive
    Fixed(0x57E6D0),                     // replacedRoutine

    Versioned(S::HostAudio),             // audio
    kNotInThisGame,                      // radioManager
    Versioned(S::HostClock),
    Versioned(S::HostTimeStep),
    {Versioned(S::HostSuppressFlags1), Versioned(S::HostSuppressFlags2),
     Versioned(S::HostSuppressFlags3Owner, 0x70), Fixed(0x95CD5B)},
    Fixed(0x8F4364),                     // screenWidth
    Fixed(0x8F4368),                     // screenHeight
    Fixed(0x650B80),                     // pendingStationSteps
    Fixed(0x5F2E4C),                     // radioVolumeSetting
};

inline constexpr HostFields kHostFields = {0x224, 44, 0x229, 0, 0, 0, 0};

inline constexpr EngineFunctionPointer kRenderStateThroughEngine = {0, 0};

// The player lookups take no arguments.
inline constexpr bool kPlayerLookupTakesIndex = false;

}  // namespace games::iii
