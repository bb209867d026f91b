// Elements that Gaussian-blur filters apply to, so the renderer can blur them itself.
#pragma once

#include <string>
#include <vector>

struct BlurTarget {
    std::string id;      // element id as the text holds it (UTF-8 bytes)
    float stdDeviation;  // in document units
};

// The blurred elements in text order. Unnamed ones get an "ag_filter_elem_N" id inserted
// into `svgText`; nothing else in the text changes.
std::vector<BlurTarget> ExtractBlurFilters(std::string& svgText);
