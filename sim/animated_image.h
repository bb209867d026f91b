// Writes a run of frames as one animation file, to watch the strip move: WebP on the host
// (libwebp, animated_image.cpp), GIF on Windows (the imaging component, animated_image_windows.cpp).
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace sim {

struct AnimationOptions {
    uint32_t frameMs = 100;  // how long each canvas shows
    bool lossless = true;
    float quality = 90;      // 0..100: the lossy quality, or the lossless effort
    int loopCount = 0;       // 0 plays forever
};

// The file name extension of the format this build writes: ".webp" or ".gif".
extern const char kAnimationExtension[];

// Canvases of one size, in order, in this build's format. False when there are none, sizes
// differ, or encoding or writing fails.
bool WriteAnimation(const std::string& path, const std::vector<Canvas>& frames,
                    const AnimationOptions& options);

// Canvases of one size, in order. The encoder folds a canvas identical to the one before it
// into that frame's duration. False when there are none, sizes differ, or encoding or
// writing fails.
bool WriteAnimatedWebp(const std::string& path, const std::vector<Canvas>& frames,
                       const AnimationOptions& options);

}  // namespace sim
