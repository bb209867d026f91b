// The compositor draws sprites as the game does: coverage, colour modulation, blending, the
// mip level the on-screen size picks, and rectangles that must draw nothing or only in part.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "sim/compositor.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

using Bgra = std::vector<int>;

// A texture whose level n is the solid colour levels[min(n, last)].
RwTexture* SolidTexture(int side, const std::vector<Bgra>& levels, RwInt32 flags) {
    RwRaster* raster = sim::SimRwRasterCreate(side, side, 32, flags);
    for (uint32_t n = 0; n < sim::RasterLevelCount(raster); ++n) {
        RwUInt8* pixels = sim::SimRwRasterLock(raster, n, rwRASTERLOCKWRITE);
        const Bgra& c = levels[std::min<size_t>(n, levels.size() - 1)];
        for (uint32_t y = 0; y < sim::RasterLevelHeight(raster, n); ++y)
            for (uint32_t x = 0; x < sim::RasterLevelWidth(raster, n); ++x)
                for (int i = 0; i < 4; ++i) pixels[y * raster->stride + x * 4 + i] = c[i];
        sim::SimRwRasterUnlock(raster);
    }
    return sim::SimRwTextureCreate(raster);
}

sim::Canvas Grey(uint32_t width, uint32_t height) {
    sim::Canvas canvas{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 100)};
    for (size_t i = 3; i < canvas.bgra.size(); i += 4) canvas.bgra[i] = 255;
    return canvas;
}

Bgra At(const sim::Canvas& c, int x, int y) {
    const uint8_t* p = &c.bgra[(size_t(y) * c.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void ExpectNear(const Bgra& actual, const Bgra& expected, int tolerance) {
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
}

class CompositorTest : public ::testing::Test {
protected:
    void TearDown() override { sim::ResetRwEngine(); }
};

TEST_F(CompositorTest, SpriteCoversItsPixelCentresModulatedAndBlended) {
    struct Row {
        const char* what;
        Bgra texel;  // empty: null texture
        HostColour colour;
        int x, y;
        Bgra expected;
    };
    const HostRect rect{10, 30, 30, 10};
    const Bgra white{255, 255, 255, 255}, grey{100, 100, 100, 255};
    const HostColour opaque{255, 255, 255, 255};
    const Row rows[] = {
        {"inside", white, opaque, 20, 20, white},
        {"top-left edge inside", white, opaque, 10, 10, white},
        {"last pixel inside", white, opaque, 29, 29, white},
        {"left of it", white, opaque, 9, 20, grey},
        {"right edge outside", white, opaque, 30, 20, grey},
        {"bottom edge outside", white, opaque, 20, 30, grey},
        {"modulated", {50, 100, 200, 255}, {128, 255, 0, 255}, 20, 20, {0, 100, 100, 255}},
        {"colour alpha blends", white, {255, 255, 255, 128}, 20, 20, {178, 178, 178, 255}},
        {"texel alpha blends", {0, 0, 0, 64}, opaque, 20, 20, {75, 75, 75, 255}},
        {"null texture is flat colour", {}, {10, 20, 30, 255}, 20, 20, {30, 20, 10, 255}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        sim::Canvas canvas = Grey(40, 40);
        RwTexture* texture =
            row.texel.empty() ? nullptr : SolidTexture(8, {row.texel}, kRasterFlagsSingleLevel);
        sim::DrawSprite(canvas, texture, rect, row.colour);
        ExpectNear(At(canvas, row.x, row.y), row.expected, 1);
    }
}

TEST_F(CompositorTest, OnScreenSizePicksTheMipLevel) {
    const Bgra red{0, 0, 255, 255}, green{0, 255, 0, 255}, blue{255, 0, 0, 255};
    RwTexture* texture = SolidTexture(64, {red, green, blue}, kRasterFlagsMipChain);
    const struct {
        float side;
        Bgra expected;
    } rows[] = {{128, red}, {64, red}, {32, green}, {64 / std::sqrt(2.0f), {0, 128, 128, 255}},
                {16, blue}, {1, blue}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.side);
        sim::Canvas canvas = Grey(130, 130);
        sim::DrawSprite(canvas, texture, {0, row.side, row.side, 0}, {255, 255, 255, 255});
        ExpectNear(At(canvas, 0, 0), row.expected, 2);
    }
}

TEST_F(CompositorTest, BadOrOffScreenRectanglesDrawOnlyWhatIsOnScreen) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        HostRect rect;  // left, bottom, right, top
        int pixelsDrawn;
    } rows[] = {
        {{8, 2, 4, 6}, 0},       {{4, 2, 8, 6}, 0},     {{4, 6, 4, 2}, 0},
        {{nan, 6, 8, 2}, 0},     {{4, 6, inf, 2}, 0},   {{-inf, inf, inf, -inf}, 0},
        {{-10, 5, 5, -10}, 25},  {{20, 30, 30, 20}, 0}, {{-1e30f, 1e30f, 1e30f, -1e30f}, 16 * 12},
        {{5.4f, 3.6f, 6.6f, 3.4f}, 2},  // two pixel centres inside, one row
        {{14.2f, 12.7f, 40, 11.2f}, 2},  // clipped at the right and bottom
    };
    RwTexture* texture = SolidTexture(4, {{0, 0, 0, 255}}, kRasterFlagsMipChain);
    for (const auto& row : rows) {
        sim::Canvas canvas = Grey(16, 12);
        sim::DrawSprite(canvas, texture, row.rect, {255, 255, 255, 255});
        int drawn = 0;
        for (size_t i = 0; i < canvas.bgra.size(); i += 4) drawn += canvas.bgra[i] != 100;
        EXPECT_EQ(drawn, row.pixelsDrawn) << row.rect.left << " " << row.rect.top;
    }
    sim::Canvas empty;
    sim::DrawSprite(empty, texture, {0, 5, 5, 0}, {255, 255, 255, 255});
}

TEST_F(CompositorTest, FrameDrawsSpriteCallsInOrderOverTheBackground) {
    std::vector<sim::HostCall> calls(3);
    calls[0] = {sim::HostRoutine::SpriteDraw, "", nullptr, {}, 0, nullptr, nullptr,
                {0, 4, 4, 0}, {255, 0, 0, 255}};
    calls[1] = {sim::HostRoutine::RwRenderStateSet, "", nullptr, {12, 0}, 1, nullptr, nullptr,
                {0, 4, 4, 0}, {0, 0, 0, 255}};
    calls[2] = {sim::HostRoutine::SpriteDraw, "", nullptr, {}, 0, nullptr, nullptr,
                {2, 4, 4, 0}, {0, 255, 0, 255}};
    const sim::Canvas frame = sim::ComposeFrame(calls, sim::MakeBackground(6, 4));
    ExpectNear(At(frame, 0, 0), {0, 0, 255, 255}, 0);
    ExpectNear(At(frame, 3, 0), {0, 255, 0, 255}, 0);
    ExpectNear(At(frame, 5, 0), At(sim::MakeBackground(1, 1), 0, 0), 0);
}

TEST_F(CompositorTest, BackgroundPictureIsScaledToTheFrame) {
    const std::string path = ::testing::TempDir() + "compositor_background.png";
    ASSERT_TRUE(sim::WritePngFromBgra(path, 2, 1, {0, 0, 255, 255, 255, 0, 0, 255}));
    sim::Canvas canvas;
    ASSERT_TRUE(sim::LoadBackground(path, 8, 2, canvas));
    ASSERT_EQ(canvas.bgra.size(), 8u * 2 * 4);
    ExpectNear(At(canvas, 0, 1), {0, 0, 255, 255}, 0);
    ExpectNear(At(canvas, 7, 0), {255, 0, 0, 255}, 0);
    EXPECT_FALSE(sim::LoadBackground(path + ".missing", 8, 2, canvas));
}

}  // namespace
