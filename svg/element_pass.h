// A level drawn element by element, so that single elements can be blurred.
#pragma once

#include <cstdint>
#include <vector>

#include "../platform/platform.h"
#include "svg_document_load.h"

// Draws every drawable element on its own, all others hidden, blurred ones through the blur
// effect, in document order; the document's "display" attributes are as before on return.
// Runs between BeginDraw and EndDraw and leaves `renderTarget` as the target.
void DrawElementsSeparately(ID2D1DeviceContext5* context, ID2D1SvgDocument* document,
                            ID2D1SvgElement* root, const std::vector<ElementBlur>& blurs,
                            ID3D11Device* device, uint32_t width, uint32_t height,
                            ID2D1Bitmap1* renderTarget, float scaleX, float scaleY);
