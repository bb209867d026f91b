// The drive's frames as pictures: key frames as PNG files, a contact sheet of them, and the
// whole drive as an animated WebP. The frames' textures must still be alive.
#pragma once

#include <string>
#include <vector>

#include "sim/scripted_drive.h"

// The animation shows the top fifth of the screen, where the strip is, every other frame:
// the whole drive at full size would hold hundreds of megabytes of canvases.
inline constexpr uint32_t kAnimationStride = 2;

// Writes into `folder` and answers the files written, in order.
std::vector<std::string> WriteDrivePictures(const std::string& folder,
                                            const std::vector<sim::DriveFrame>& frames);
