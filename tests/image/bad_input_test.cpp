// Damaged images and cache files give null or a miss, never a crash.
#include <gtest/gtest.h>

#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "raster/raster_decoder.h"
#include "svg/svg_texture.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

class BadInput : public ImageFixture {
protected:
    std::vector<uint8_t> GoodPng() {
        WritePng(Scratch("good.png"), 16, 16, [](uint32_t x, uint32_t) {
            return Bgra{uint8_t(x), 0, 0, 255};
        });
        return ReadBytes(Scratch("good.png"));
    }

    RwTexture* LoadBytes(const std::vector<uint8_t>& bytes, uint32_t w = 0, uint32_t h = 0) {
        std::string path = Scratch("bad.png");
        WriteBytes(path, bytes);
        return LoadPNGToRwTexture(path.c_str(), w, h, 1, 0);
    }
};

// Every damaged file is refused before a raster exists: the image is decoded whole before
// the first level is filled.
TEST_F(BadInput, EmptyTruncatedAndCorruptImagesAreNotDecodable) {
    const std::vector<uint8_t> png = GoodPng();
    std::vector<uint8_t> corrupt = png;
    for (size_t i = 41; i < corrupt.size() - 12; ++i) corrupt[i] ^= 0x5A;
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"signature only", {png.begin(), png.begin() + 8}},
        {"header cut short", {png.begin(), png.begin() + 33}},
        {"pixel data scrambled", corrupt},
    };
    const std::string path = Scratch("bad.png");
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        WriteBytes(path, bytes);
        LoadOutcome outcome;
        EXPECT_EQ(LoadPngTexture(MakeLoadRequest(path.c_str(), 0, 0, 1, 0), outcome), nullptr);
        EXPECT_EQ(outcome.status, LoadStatus::NotDecodable);
        EXPECT_FALSE(FileExists(CacheFileOf(path, 16, 16)));
    }
    EXPECT_EQ(sim::LiveRasters(), 0);
}

// Direct3D 11's limit of 16384 a side holds for every level and render target: beyond it a
// load ends before it opens a cache folder, a device or a raster. The limit itself loads.
TEST_F(BadInput, SizesBeyond16384ASideAreRefusedBeforeAnythingIsMade) {
    GoodPng();
    const std::string png = Scratch("good.png");
    const std::string svg = Scratch("wide.svg");
    WriteBytes(svg, [] {
        const std::string text =
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16385\" height=\"16\"/>";
        return std::vector<uint8_t>(text.begin(), text.end());
    }());
    using substitute::Call;
    const struct Case {
        const char* what;
        RwTexture* (*load)(const LoadRequest&, LoadOutcome&);
        const std::string& path;
        uint32_t width, height;
        LoadStatus status;
    } cases[] = {
        {"PNG asked 16385 wide", LoadPngTexture, png, 16385, 16, LoadStatus::TooLarge},
        {"PNG asked 16385 high", LoadPngTexture, png, 0, 16385, LoadStatus::TooLarge},
        {"SVG whose root is 16385 wide", LoadSvgTexture, svg, 0, 0, LoadStatus::TooLarge},
        {"SVG asked 16385 high", LoadSvgTexture, svg, 16, 16385, LoadStatus::TooLarge},
        {"PNG asked 16384 x 1", LoadPngTexture, png, 16384, 1, LoadStatus::Drawn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        substitute::ResetSubstitute();
        sim::ResetRwEngine();
        LoadOutcome outcome;
        RwTexture* texture = c.load(MakeLoadRequest(c.path.c_str(), c.width, c.height, 0, 0), outcome);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(texture != nullptr, c.status == LoadStatus::Drawn);
        if (c.status != LoadStatus::TooLarge) continue;
        EXPECT_EQ(substitute::CallCount(Call::CreateDirectoryA), 0);
        EXPECT_EQ(substitute::CallCount(Call::CreateFormatConverter), 0);
        EXPECT_EQ(substitute::CallCount(Call::D3D11CreateDevice), 0);
        EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0);
    }
}

TEST_F(BadInput, HugeDimensionsGiveNull) {
    std::vector<uint8_t> png = GoodPng();
    // IHDR width and height (big-endian) claim 100000 x 100000; the CRC no longer matches.
    const uint8_t huge[8] = {0x00, 0x01, 0x86, 0xA0, 0x00, 0x01, 0x86, 0xA0};
    std::copy(std::begin(huge), std::end(huge), png.begin() + 16);
    EXPECT_EQ(LoadBytes(png), nullptr);
    EXPECT_EQ(LoadBytes(GoodPng(), 100000, 100000), nullptr);
    EXPECT_EQ(LoadBytes(GoodPng(), 0xFFFFFFFFu, 2), nullptr);
    EXPECT_EQ(sim::LiveRasters(), 0);
}

TEST_F(BadInput, GarbageCacheFilesAreMisses) {
    std::vector<uint8_t> png = GoodPng();
    WriteBytes(Scratch("bad.png"), png);
    std::string cache = CacheFileOf(Scratch("bad.png"), 16, 16);
    ASSERT_NE(LoadBytes(png, 16, 16), nullptr);
    const std::vector<std::pair<std::vector<uint8_t>, MipCacheVerdict>> garbage = {
        {{}, MipCacheVerdict::Unreadable},
        {{'C', 'P', 'I', 'M'}, MipCacheVerdict::Unreadable},
        {std::vector<uint8_t>(44, 0xFF), MipCacheVerdict::BadMagic},
        {std::vector<uint8_t>(5000, 0x00), MipCacheVerdict::BadMagic},
    };
    for (const auto& [bytes, verdict] : garbage) {
        WriteBytes(cache, bytes);
        sim::ResetRwEngine();
        LoadOutcome outcome;
        RwTexture* texture = LoadPngTexture(
            MakeLoadRequest(Scratch("bad.png").c_str(), 16, 16, 1, 0), outcome);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(outcome.cache, verdict);
        EXPECT_EQ(FilterMode(texture), 6u);
        EXPECT_EQ(sim::LiveRasters(), 1);
    }
}

}  // namespace
