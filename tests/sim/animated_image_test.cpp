// The animated WebP holds every frame, at its size and time, and decodes back to its pixels.
#include <gtest/gtest.h>

#include <webp/demux.h>

#include <fstream>
#include <iterator>

#include "sim/animated_image.h"

namespace {

sim::Canvas Flat(uint32_t width, uint32_t height, uint8_t blue) {
    sim::Canvas canvas{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 255)};
    for (size_t i = 0; i < canvas.bgra.size(); i += 4) canvas.bgra[i] = blue;
    return canvas;
}

TEST(AnimatedImageTest, WritesEveryFrameThatDecodesBack) {
    const std::string path = ::testing::TempDir() + "animated_image_test.webp";
    const std::vector<sim::Canvas> frames{Flat(24, 10, 0), Flat(24, 10, 90), Flat(24, 10, 180)};
    ASSERT_TRUE(sim::WriteAnimatedWebp(path, frames, {40, true, 90, 0}));

    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
    options.color_mode = MODE_BGRA;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    ASSERT_NE(decoder, nullptr);
    WebPAnimInfo info;
    ASSERT_TRUE(WebPAnimDecoderGetInfo(decoder, &info));
    EXPECT_EQ(info.canvas_width, 24u);
    EXPECT_EQ(info.canvas_height, 10u);
    EXPECT_EQ(info.frame_count, frames.size());
    for (size_t n = 0; WebPAnimDecoderHasMoreFrames(decoder); ++n) {
        uint8_t* pixels = nullptr;
        int timestamp = 0;
        ASSERT_TRUE(WebPAnimDecoderGetNext(decoder, &pixels, &timestamp));
        EXPECT_EQ(timestamp, 40 * int(n + 1));
        EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + frames[n].bgra.size()), frames[n].bgra);
    }
    WebPAnimDecoderDelete(decoder);
}

TEST(AnimatedImageTest, RefusesNoFramesOrFramesOfDifferentSizes) {
    const std::string path = ::testing::TempDir() + "animated_image_refused.webp";
    EXPECT_FALSE(sim::WriteAnimatedWebp(path, {}, {}));
    EXPECT_FALSE(sim::WriteAnimatedWebp(path, {Flat(4, 4, 0), Flat(4, 5, 0)}, {}));
}

}  // namespace
