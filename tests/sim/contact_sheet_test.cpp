// A contact sheet lays box-filtered thumbnails out in reading order with gaps between them.
#include <gtest/gtest.h>

#include "sim/contact_sheet.h"

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

}  // namespace
