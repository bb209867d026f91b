// Lays a run of frames out as thumbnails in a grid, to see many frames of the strip at once.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace sim {

struct ContactSheetLayout {
    uint32_t thumbnailWidth = 160;  // each canvas is box-filtered to this width
    uint32_t columns = 4;           // tiles per row; rows follow from the count
    uint32_t gap = 4;               // pixels between tiles and around the sheet
};

// Tiles in reading order, each in a cell as tall as the tallest thumbnail, with its label
// (labels[i], when given) on a band below it. Empty when there is nothing to lay out.
Canvas MakeContactSheet(const std::vector<Canvas>& canvases, const ContactSheetLayout& layout,
                        const std::vector<std::string>& labels = {});

// The sheet as a PNG; false when it is empty or the file cannot be written.
bool WriteContactSheet(const std::string& path, const std::vector<Canvas>& canvases,
                       const ContactSheetLayout& layout, const std::vector<std::string>& labels = {});

}  // namespace sim
