// Failures while setting up, which refuse the load, and while drawing a level, which give
// a texture marked incomplete and no cache file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/substitute.h"
#include "sim/rw_engine.h"
#include "svg_render_support.h"

namespace {

using substitute::Call;

constexpr LoadStatus kNoDevice = LoadStatus::DeviceUnavailable;

const char* kIcon =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\">"
    "<defs><filter id=\"soft\"><feGaussianBlur stdDeviation=\"1\"/></filter></defs>"
    "<rect width=\"16\" height=\"32\" fill=\"#ff0000\"/>"
    "<rect id=\"glow\" x=\"16\" width=\"16\" height=\"32\" fill=\"#0000ff\" "
    "style=\"filter:url(#soft)\"/></svg>";

struct SetupStep {
    const char* name;
    Call call;
    LoadStatus status;
};

class SvgSetupFailure : public SvgRenderFixture, public ::testing::WithParamInterface<SetupStep> {};

TEST_P(SvgSetupFailure, RefusesTheLoadBeforeAnyRaster) {
    const std::string path = WriteSvg("icon.svg", kIcon);
    substitute::FailCall(GetParam().call);
    EXPECT_EQ(Load(path, 32, 32, 1, 0), nullptr);
    EXPECT_EQ(outcome_.status, GetParam().status);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0);
    EXPECT_FALSE(FileExists(CacheFileOf(path, 32, 32)));
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, SvgSetupFailure,
    ::testing::Values(SetupStep{"Device", Call::D3D11CreateDevice, kNoDevice},
                      SetupStep{"DxgiDevice", Call::QueryDxgiDevice, kNoDevice},
                      SetupStep{"Factory", Call::D2D1CreateFactory, kNoDevice},
                      SetupStep{"D2dDevice", Call::D2D1CreateDevice, kNoDevice},
                      SetupStep{"DeviceContext", Call::CreateDeviceContext, kNoDevice},
                      SetupStep{"DeviceContext5", Call::QueryDeviceContext5, kNoDevice},
                      SetupStep{"Stream", Call::SHCreateMemStream, LoadStatus::NotDecodable},
                      SetupStep{"Document", Call::CreateSvgDocument, LoadStatus::NotDecodable},
                      SetupStep{"File", Call::ReadFile, LoadStatus::Unreadable}),
    [](const ::testing::TestParamInfo<SetupStep>& info) { return info.param.name; });

struct LevelStep {
    const char* name;
    Call call;
    int successesFirst;  // calls of this kind that succeed before the failing one
};

class SvgLevelFailure : public SvgRenderFixture, public ::testing::WithParamInterface<LevelStep> {};

TEST_P(SvgLevelFailure, GivesAnIncompleteTextureAndNoCacheFile) {
    const std::string path = WriteSvg("icon.svg", kIcon);
    const LevelStep step = GetParam();
    // Level 1 fails: level 0 must be complete, level 2 never drawn.
    const int perLevel = substitute::CallCount(step.call);
    RwTexture* probe = Load(path, 32, 32, 0, 0);
    ASSERT_NE(probe, nullptr);
    sim::DestroyTexture(probe);
    std::filesystem::remove_all(Scratch(".mipcache"));
    const int callsForOneLevel = substitute::CallCount(step.call) - perLevel;
    sim::ResetRwEngine();
    substitute::ResetSubstitute();

    substitute::FailCall(step.call, callsForOneLevel + step.successesFirst);
    RwTexture* texture = Load(path, 32, 32, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DescribeLoadStatus(outcome_), "level 1 could not be filled");
    EXPECT_EQ(FilterMode(texture), 2u);
    EXPECT_FALSE(FileExists(CacheFileOf(path, 32, 32)));
    EXPECT_EQ(PixelAt(LevelPixels(texture, 0), 32, 4, 4).r, 255) << "level 0 was filled";
    int locks = 0;
    for (const sim::RwCall& call : sim::RwCallLog())
        if (call.op == sim::RwOp::RasterLock) ++locks;
    EXPECT_LE(locks, 2) << "no level after the failed one is drawn";
    sim::DestroyTexture(texture);
}

// Per level the blurred element makes two textures, two surfaces and two bitmaps: the
// level's own come first, then the scratch set, then the staging texture.
INSTANTIATE_TEST_SUITE_P(
    EachStep, SvgLevelFailure,
    ::testing::Values(LevelStep{"RenderTexture", Call::CreateTexture2D, 0},
                      LevelStep{"Surface", Call::QueryDxgiSurface, 0},
                      LevelStep{"Bitmap", Call::CreateBitmapFromDxgiSurface, 0},
                      LevelStep{"EndDraw", Call::EndDraw, 0},
                      LevelStep{"StagingTexture", Call::CreateTexture2D, 2},
                      LevelStep{"Map", Call::Map, 0}),
    [](const ::testing::TestParamInfo<LevelStep>& info) { return info.param.name; });

using SvgRasterFailure = SvgRenderFixture;

TEST_F(SvgRasterFailure, LockOrCreateOfTheRaster) {
    const std::string path = WriteSvg("icon.svg", kIcon);
    sim::FailRwOp(sim::RwOp::RasterLock, 1);
    RwTexture* texture = Load(path, 32, 32, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DescribeLoadStatus(outcome_), "level 1 could not be locked");
    EXPECT_EQ(FilterMode(texture), 2u);
    EXPECT_FALSE(FileExists(CacheFileOf(path, 32, 32)));
    sim::DestroyTexture(texture);

    sim::ResetRwEngine();
    sim::ConfigureRwEngine({0, true});
    texture = Load(path, 32, 32, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DescribeLoadStatus(outcome_), "level 0 could not be locked") << "stride too short";
    sim::DestroyTexture(texture);

    sim::ResetRwEngine();
    sim::FailRwOp(sim::RwOp::RasterCreate);
    EXPECT_EQ(Load(path, 32, 32, 1, 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::RasterRefused);
    sim::ResetRwEngine();
    sim::FailRwOp(sim::RwOp::TextureCreate);
    EXPECT_EQ(Load(path, 32, 32, 1, 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::TextureRefused);
    EXPECT_EQ(sim::LiveRasters(), 0);
}

TEST_F(SvgRasterFailure, ABlurThatCannotBeSetUpLeavesOnlyThatElementOut) {
    const std::string path = WriteSvg("icon.svg", kIcon);
    substitute::FailCallAlways(Call::CreateEffect);
    RwTexture* texture = Load(path, 32, 32, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u) << "the levels themselves succeed";
    const std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    EXPECT_EQ(PixelAt(level0, 32, 4, 16).r, 255);
    EXPECT_EQ(PixelAt(level0, 32, 24, 16).a, 0) << "the blurred element is missing";
    sim::DestroyTexture(texture);
}

}  // namespace
