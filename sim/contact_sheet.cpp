#include "contact_sheet.h"

#include <algorithm>
#include <cstring>

#include "canvas_scaling.h"
#include "pixel_font.h"
#include "png_writer.h"

namespace sim {

namespace {

constexpr uint8_t kGapBgra[4] = {0x14, 0x10, 0x0e, 0xff};
constexpr uint8_t kLabelBgra[4] = {0xe0, 0xe0, 0xe0, 0xff};
constexpr uint32_t kLabelScale = 2;
constexpr uint32_t kLabelBand = kGlyphHeight * kLabelScale + 6;  // the text and a margin

}  // namespace

Canvas MakeContactSheet(const std::vector<Canvas>& canvases, const ContactSheetLayout& layout,
                        const std::vector<std::string>& labels) {
    std::vector<Canvas> tiles;
    uint32_t cellHeight = 0;
    for (const Canvas& canvas : canvases) {
        tiles.push_back(ScaleCanvasToWidth(canvas, layout.thumbnailWidth));
        cellHeight = std::max(cellHeight, tiles.back().height);
    }
    if (cellHeight == 0) return {};
    const uint32_t columns = std::clamp<uint32_t>(layout.columns, 1, tiles.size());
    const uint32_t rows = static_cast<uint32_t>((tiles.size() + columns - 1) / columns);
    const uint32_t cellWidth = layout.thumbnailWidth;
    const uint32_t band = labels.empty() ? 0 : kLabelBand;
    cellHeight += band;

    Canvas sheet;
    sheet.width = columns * (cellWidth + layout.gap) + layout.gap;
    sheet.height = rows * (cellHeight + layout.gap) + layout.gap;
    sheet.bgra.resize(static_cast<size_t>(sheet.width) * sheet.height * 4);
    for (size_t i = 0; i < sheet.bgra.size(); i += 4) std::memcpy(&sheet.bgra[i], kGapBgra, 4);

    for (size_t i = 0; i < tiles.size(); ++i) {
        const Canvas& tile = tiles[i];
        const size_t left = layout.gap + (i % columns) * (cellWidth + layout.gap);
        const size_t top = layout.gap + (i / columns) * (cellHeight + layout.gap);
        for (uint32_t y = 0; y < tile.height; ++y)
            std::memcpy(&sheet.bgra[((top + y) * sheet.width + left) * 4],
                        &tile.bgra[static_cast<size_t>(y) * tile.width * 4],
                        static_cast<size_t>(tile.width) * 4);
        if (i < labels.size()) {
            // Cut to the cell, so a long label never runs into its neighbour.
            const size_t fits = cellWidth / ((kGlyphWidth + 1) * kLabelScale);
            DrawText(sheet, static_cast<uint32_t>(left) + 2, static_cast<uint32_t>(top + cellHeight - band) + 3,
                     labels[i].substr(0, fits), kLabelScale, kLabelBgra);
        }
    }
    return sheet;
}

bool WriteContactSheet(const std::string& path, const std::vector<Canvas>& canvases,
                       const ContactSheetLayout& layout, const std::vector<std::string>& labels) {
    const Canvas sheet = MakeContactSheet(canvases, layout, labels);
    return sheet.width > 0 && WritePngFromBgra(path, sheet.width, sheet.height, sheet.bgra);
}

}  // namespace sim
