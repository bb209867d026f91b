// One mip level: a full vector rendering of the document at the level's size, read back
// through a staging copy into the raster level.
#pragma once

#include <cstdint>
#include <vector>

#include "../load/locked_level.h"
#include "../platform/platform.h"
#include "svg_document_load.h"

struct SvgLevel {
    uint32_t index;  // raster level
    uint32_t width;  // level size in pixels
    uint32_t height;
    float scaleX;  // level width / level-0 width
    float scaleY;  // level height / level-0 height
};

// Done when the level's pixels, premultiplied BGRA as Direct2D wrote them, reached the raster.
LevelAccess RenderSvgLevel(ID3D11Device* device, ID3D11DeviceContext* immediateContext,
                           ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                           ID2D1SvgElement* root, const std::vector<ElementBlur>& blurs,
                           const SvgLevel& level, RwRaster* raster);
