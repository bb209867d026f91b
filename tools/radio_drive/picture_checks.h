// What the rendered drive must show, checked on the files and canvases themselves, so a
// picture that came out empty or short fails the run instead of being looked at later.
#pragma once

#include <cstdint>
#include <string>

#include "sim/scripted_drive.h"

struct AnimationFacts {
    bool decoded = false;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t frames = 0;      // as decoded: identical neighbours are folded into one
    uint32_t durationMs = 0;  // the last frame's end
};

// Decodes every frame of an animated WebP.
AnimationFacts ReadAnimation(const std::string& path);

// True when the frame, composed, differs from the bare background at (x, y).
bool DrawsOverBackgroundAt(const sim::DriveFrame& frame, uint32_t x, uint32_t y);
