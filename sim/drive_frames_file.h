// The frames of a scripted drive as text, one fact a line, so that a run in the host build and
// one under Wine compare line by line:
//
//   drive vc release 110 frames 350
//   frame 57 clock 11140 screen 960x540
//   state 7 2                                    render state, value
//   draw 14 412.5 60 547.5 30 255 255 255 192    texture, left bottom right top, r g b a
//
// Floats are printed with nine significant digits: a float read back is the same float.
#pragma once

#include <string>
#include <vector>

#include "game_id.h"
#include "scripted_drive.h"

namespace sim {

// "iii", "vc" or "sa"; "none".
const char* GameName(Game game);

std::string DriveFramesText(Game game, int32_t release, const std::vector<DriveFrame>& frames);

// False when the file cannot be written whole.
bool WriteDriveFrames(const std::string& path, Game game, int32_t release,
                      const std::vector<DriveFrame>& frames);

}  // namespace sim
