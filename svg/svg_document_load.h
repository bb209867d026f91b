// The pre-passed text parsed by Direct2D, and the blurred elements it resolves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../platform/platform.h"
#include "blur_filters.h"

// Declared in creation order, so the members are released in reverse.
struct LoadedSvgDocument {
    ComPtr<IStream> stream;
    ComPtr<ID2D1SvgDocument> document;
    ComPtr<ID2D1SvgElement> root;
};

// A blurred element as the document holds it.
struct ElementBlur {
    ComPtr<ID2D1SvgElement> element;
    float stdDeviation;  // in document units, as the filter states it
};

// Parses `svgText` with a viewport of width x height. False for text Direct2D refuses.
bool LoadSvgDocument(ID2D1DeviceContext5* context, const std::string& svgText, uint32_t width,
                     uint32_t height, LoadedSvgDocument& out);

// One entry per target whose id the document finds, in target order; the rest are dropped.
std::vector<ElementBlur> ResolveElementBlurs(ID2D1SvgDocument* document,
                                             const std::vector<BlurTarget>& targets);
