// A contact sheet lays box-filtered thumbnails out in reading order with gaps between them.
#include <gtest/gtest.h>

#include "sim/contact_sheet.h"
#include "sim/pixel_font.h"

namespace {

sim::Canvas Checker(uint8_t light) {
    sim::Canvas canvas{4, 2, std::vector<uint8_t>(4 * 2 * 4, 255)};
    for (uint32_t i = 0; i < 8; ++i)
        for (int c = 0; c < 3; ++c) canvas.bgra[i * 4 + c] = (i + i / 4) % 2 ? light : 0;
    return canvas;
}

TEST(ContactSheetTest, TilesThumbnailsInReadingOrderWithGaps) {
    const sim::Canvas sheet =
        sim::MakeContactSheet({Checker(200), Checker(100), Checker(50)}, {2, 2, 1});
    ASSERT_EQ(sheet.width, 2 * (2 + 1) + 1u);   // two columns of 2 pixels, three gaps
    ASSERT_EQ(sheet.height, 2 * (1 + 1) + 1u);  // two rows of 1 pixel
    const auto blue = [&](uint32_t x, uint32_t y) { return sheet.bgra[(y * sheet.width + x) * 4]; };
    EXPECT_EQ(blue(1, 1), 100);  // each thumbnail pixel averages a 2x2 checker block
    EXPECT_EQ(blue(4, 1), 50);
    EXPECT_EQ(blue(2, 3), 25);
    EXPECT_EQ(blue(4, 3), blue(0, 0));  // an empty cell stays gap
    EXPECT_EQ(sim::MakeContactSheet({}, {2, 2, 1}).width, 0u);
}

// Each cell carries its label on a band below the thumbnail: "FRAME 12" in the font's pixels,
// the cell of a thumbnail without a label left plain.
TEST(ContactSheetTest, LabelsEachCellBelowItsThumbnail) {
    // Thumbnails of 16x8 in cells 16 wide: the label "12" (14 pixels at scale 2) fits one.
    const sim::Canvas sheet = sim::MakeContactSheet({Checker(200), Checker(100)}, {16, 2, 1}, {"12"});
    ASSERT_EQ(sheet.width, 2 * (16 + 1) + 1u);
    ASSERT_GT(sheet.height, 1 + 8 + sim::kGlyphHeight * 2 + 1u);
    const auto lit = [&](uint32_t left, uint32_t right) {
        uint32_t count = 0;
        for (uint32_t y = 9; y + 1 < sheet.height; ++y)  // below the thumbnails' rows 1 to 8
            for (uint32_t x = left; x < right; ++x) count += sheet.bgra[(y * sheet.width + x) * 4] > 200;
        return count;
    };
    // "1" and "2" of the 3x5 font: 8 and 11 font pixels, each 2x2 at scale 2.
    EXPECT_EQ(lit(1, 17), (8u + 11u) * 4u);
    EXPECT_EQ(lit(18, 34), 0u);
    // Without labels the cells keep their old height.
    EXPECT_EQ(sim::MakeContactSheet({Checker(200)}, {16, 2, 1}).height, 1 + 8 + 1u);
}

}  // namespace
