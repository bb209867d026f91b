// A scripted drive: the player walks, gets into a car, changes the radio station twice and gets
// out, frame by frame through the game's own per-frame calls, every frame's drawing recorded.
// The same script plays in the host build and in the stand-in game under Wine, so the two
// recordings compare call for call.
#pragma once

#include <cstdint>
#include <vector>

#include "game_id.h"
#include "host_world.h"

namespace sim {

enum class DriveAction {
    OnFoot,      // the character walks: no vehicle, the radio off
    GetIn,       // into a car whose radio plays `value`
    PressRadio,  // the radio control: `value` station steps pending for this frame
    Retune,      // the game applies them: the radio plays `value`, nothing pending
};

struct DriveEvent {
    uint32_t frame;
    DriveAction action;
    int32_t value;
};

inline constexpr uint32_t kDriveStartClock = 10000;  // ms on the game clock at frame 0
inline constexpr uint32_t kDriveFrameMs = 20;
inline constexpr int32_t kDriveScreenWidth = 960;
inline constexpr int32_t kDriveScreenHeight = 540;

struct DriveScript {
    uint32_t frameCount;
    std::vector<DriveEvent> events;  // by frame
    int32_t screenWidth = kDriveScreenWidth;
    int32_t screenHeight = kDriveScreenHeight;
};

// Stations 2, 3 and 4 are the game's own numbers in all three games.
const DriveScript& RadioDriveScript();

// A sprite draw or a render state of a frame, as it compares between processes.
struct DrawnCall {
    HostRoutine routine;  // SpriteDraw or RwRenderStateSet
    int32_t state;        // render state and its value
    uint32_t value;
    uint32_t texture;     // the sprite's texture as TextureCreationIndex names it
    HostRect rect;
    HostColour colour;
};

struct DriveFrame {
    uint32_t frame = 0;
    uint32_t clock = 0;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    std::vector<DrawnCall> drawn;
    std::vector<HostCall> calls;  // every host call, as logged: its textures live until shut-down
};

// Plays `script` on the laid-out game and release: each frame sets the clock, time step and
// screen, applies the frame's events, runs the release's per-frame calls and then the routine
// the plug-in replaces. Needs InstallHostRoutines and WriteEventCallSites.
std::vector<DriveFrame> PlayDrive(const DriveScript& script);

}  // namespace sim
