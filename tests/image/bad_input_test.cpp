// Damaged images and cache files give null or a miss, never a crash.
#include <gtest/gtest.h>

#include "image/exports.h"
#include "raster/raster_decoder.h"
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
