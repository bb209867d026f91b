// One blurred element: drawn alone into a scratch bitmap, blurred, composited onto the level.
#pragma once

#include <cstdint>

#include "../platform/platform.h"

// What a blur on level `scaleX` of the document gets as its standard deviation in pixels.
float LevelBlurDeviation(float stdDeviation, float scaleX);

// Draws the document (all but one element already hidden) through a Gaussian blur onto
// `renderTarget`. False, with nothing drawn, when the scratch objects or the effect cannot
// be created; the target is `renderTarget` again on return either way.
bool DrawBlurredDocument(ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                         ID3D11Device* device, uint32_t width, uint32_t height,
                         ID2D1Bitmap1* renderTarget, float scaleX, float scaleY,
                         float stdDeviation);
