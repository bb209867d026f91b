// The stand-in game's radio mode: the game's start, frames and end with the real plug-ins
// loaded the way the plug-in loader loads them, printing what the plug-ins did, one fact a
// line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../game_id.h"

namespace standin {

struct RadioRequest {
    int32_t release = 0;                 // version code the image is laid out for
    uint32_t frames = 3;                 // frames run after the start-up call
    std::vector<uint32_t> reloadFrames;  // frames (from 1) during which the reload key is down
    uint32_t editFrame = 0;              // before this frame, `edit` is written into the file
    std::string editKey;                 // a settings key, as the player would edit it
    std::string editValue;
    bool unload = false;                 // FreeLibrary the radio plug-in at the end
    std::string driveFile;               // plays the scripted drive instead of the frames and
                                         // writes its frames here (sim/drive_frames_file.h)
    bool requiredCalls = false;          // instead of the start, times the calls any start must
                                         // make, with the plug-ins loaded as a start finds them
};

// Parses "<release> [--frames N] [--reload-at F,F...] [--edit KEY=VALUE@F] [--unload]
// [--drive FILE] [--required-calls]".
bool ParseRadioRequest(const std::vector<std::string>& args, RadioRequest& request,
                       std::string& error);

// Lays the release out, loads every ".asi" of the game folder and its "scripts" folder in
// name order, then runs the start-up call, the frames and the shut-down call. Exit status 0,
// or 2 for a set-up failure; a plug-in that ends the process decides its own.
int RunRadio(sim::Game game, const RadioRequest& request);

}  // namespace standin
