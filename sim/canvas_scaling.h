// Shrinks canvases for thumbnails with a box filter: each new pixel is the area-weighted mean
// of the source pixels it covers.
#pragma once

#include "canvas.h"

namespace sim {

// `width` pixels across, the height keeping the aspect (at least one row). Empty when either
// canvas is empty.
Canvas ScaleCanvasToWidth(const Canvas& canvas, uint32_t width);

}  // namespace sim
