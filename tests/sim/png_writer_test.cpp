// Pictures written through the image library decode to exactly the pixels given, straight
// alpha and the colour of transparent pixels included, in the shapes the tools write.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "sim/canvas.h"
#include "sim/pixbuf_ref.h"
#include "sim/png_writer.h"

namespace {

// The file's pixels as BGRA, rows packed; empty when it is not 8-bit RGBA.
std::vector<uint8_t> DecodeBgra(const std::string& path, uint32_t& width, uint32_t& height) {
    const sim::PixbufRef image{gdk_pixbuf_new_from_file(path.c_str(), nullptr)};
    if (!image.pixbuf || gdk_pixbuf_get_n_channels(image.pixbuf) != 4 ||
        gdk_pixbuf_get_bits_per_sample(image.pixbuf) != 8)
        return {};
    width = static_cast<uint32_t>(gdk_pixbuf_get_width(image.pixbuf));
    height = static_cast<uint32_t>(gdk_pixbuf_get_height(image.pixbuf));
    const size_t stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(image.pixbuf));
    const guchar* rows = gdk_pixbuf_read_pixels(image.pixbuf);
    std::vector<uint8_t> bgra;
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            const guchar* p = rows + y * stride + x * 4;
            bgra.insert(bgra.end(), {p[2], p[1], p[0], p[3]});
        }
    return bgra;
}

struct Picture {
    const char* what;
    sim::Canvas pixels;
    size_t bytesBelow;  // the file's size must stay under this; 0: any size
};

// A drive's key frame: the background with a sprite's worth of varied colour over it.
sim::Canvas KeyFrame() {
    sim::Canvas frame = sim::MakeBackground(960, 540);
    for (uint32_t y = 40; y < 200; ++y)
        for (uint32_t x = 400; x < 560; ++x) {
            uint8_t* p = &frame.bgra[(size_t(y) * frame.width + x) * 4];
            p[0] = uint8_t(x * 3), p[1] = uint8_t(y * 5), p[2] = uint8_t(x ^ y);
        }
    return frame;
}

// An icon or level in straight alpha: every alpha from 0 up, transparent pixels in colour.
sim::Canvas Translucent(uint32_t width, uint32_t height) {
    sim::Canvas canvas{width, height, {}};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            canvas.bgra.insert(canvas.bgra.end(), {uint8_t(x * 4 + 1), uint8_t(y * 4 + 2),
                                                   uint8_t(x + y + 3), uint8_t(x * y)});
    return canvas;
}

TEST(PngWriter, DecodesToThePixelsWritten) {
    const Picture pictures[] = {
        {"key frame", KeyFrame(), 960 * 540 * 4 / 20},
        {"icon", Translucent(64, 64), 0},
        {"level of one row", Translucent(3, 1), 0},
        {"level of one pixel", Translucent(1, 1), 0},
    };
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.what);
        const std::string path = testing::TempDir() + "png_writer.png";
        const sim::Canvas& source = picture.pixels;
        ASSERT_TRUE(sim::WritePngFromBgra(path, source.width, source.height, source.bgra));
        uint32_t width = 0, height = 0;
        const std::vector<uint8_t> decoded = DecodeBgra(path, width, height);
        EXPECT_EQ(width, source.width);
        EXPECT_EQ(height, source.height);
        EXPECT_TRUE(decoded == source.bgra) << "pixels differ";
        struct stat file {};
        ASSERT_EQ(stat(path.c_str(), &file), 0);
        if (picture.bytesBelow) {
            EXPECT_LT(size_t(file.st_size), picture.bytesBelow);
        }
    }
}

TEST(PngWriter, RefusesAnEmptySizeAndShortPixels) {
    const std::string path = testing::TempDir() + "png_writer_refused.png";
    EXPECT_FALSE(sim::WritePngFromBgra(path, 0, 4, {}));
    EXPECT_FALSE(sim::WritePngFromBgra(path, 2, 2, std::vector<uint8_t>(15)));
    EXPECT_FALSE(sim::WritePngFromBgra(path, 0x40000000u, 0x40000000u, std::vector<uint8_t>(4)));
    struct stat file {};
    EXPECT_NE(stat(path.c_str(), &file), 0) << "nothing written";
}

}  // namespace
