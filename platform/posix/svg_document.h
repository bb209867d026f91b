// The SVG document of the Direct2D substitute: a parsed XML tree whose elements are COM
// objects, and its rendering as the tree stands at the moment of drawing.
#pragma once

#include <cstdint>
#include <string>

#include "d2d1_svg.h"

namespace substitute {

// Parses the stream's bytes as XML with an "svg" root. Null (with E_INVALIDARG or
// E_OUTOFMEMORY in `result`) for text that does not parse.
ID2D1SvgDocument* CreateSvgDocumentFromStream(IStream* stream, D2D1_SIZE_F viewport,
                                              HRESULT& result);

// Renders the document's current tree into premultiplied BGRA pixels (source over what is
// there) under `transform`, in a viewport of the size the document was created with.
// `filter` and `paint-order` are ignored, as by the Direct2D SVG renderer. False when
// `document` is not one of this substitute's or the renderer refuses it.
bool RenderSvgDocument(ID2D1SvgDocument* document, const D2D1_MATRIX_3X2_F& transform,
                       uint8_t* pixels, uint32_t width, uint32_t height, size_t pitch);

// The document's current tree as XML text, for tests.
std::string SerializeSvgDocument(ID2D1SvgDocument* document);

}  // namespace substitute
