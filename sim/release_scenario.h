// The game release a test process runs against. The stand-in lays the image out for it
// before any static initialiser of the plug-in code runs, from the process's environment:
//
//   SIM_GAME         iii, vc or sa; unset: the image is mapped and left empty
//   SIM_RELEASE      version code the image is of (its signature and event call sites);
//                    0 or unset: a release no build recognises
//   SIM_SIGNATURES   comma-separated codes whose signatures are written, in that order;
//                    default: SIM_RELEASE's
//   SIM_IMAGE_BASE   where the image is mapped (default 0x400000)
//   SIM_MODULE_FILE  the game executable's file name (default per game, under C:\Games)
#pragma once

#include <cstdint>

#include "game_id.h"

namespace sim {

struct ReleaseScenario {
    Game game;           // Game::None when SIM_GAME is unset
    int32_t code;        // SIM_RELEASE
    uint32_t imageBase;  // SIM_IMAGE_BASE
};

// The scenario the image was laid out for.
const ReleaseScenario& LoadedRelease();

}  // namespace sim
