// Turns a recorded frame's sprite draws into a picture, the way the game draws 2D sprites.
#pragma once

#include <vector>

#include "canvas.h"
#include "host_world.h"

namespace sim {

// Covers the pixels whose centres lie in [left, right) x [top, bottom), texture coordinates
// 0..1 across the quad, sampled trilinearly (TrilinearSampler), modulated by `colour` and
// blended source-over by its alpha. Inverted, empty or non-finite rectangles draw nothing;
// the rest is clipped to the canvas. A null texture draws a flat quad in `colour`.
void DrawSprite(Canvas& canvas, const RwTexture* texture, const HostRect& rect,
                const HostColour& colour);

// Draws every spriteDraw call of `calls`, in order, over `background`.
Canvas ComposeFrame(const std::vector<HostCall>& calls, Canvas background);

}  // namespace sim
