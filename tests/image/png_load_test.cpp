// Raster images through the exports into the stand-in engine.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/exports.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/substitute.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

using substitute::Call;

class PngLoad : public ImageFixture {
protected:
    // 64x64 with a distinct colour per pixel and a half-transparent corner.
    std::string WriteGradient(const std::string& name, uint32_t w = 64, uint32_t h = 64) {
        std::string path = Scratch(name);
        WritePng(path, w, h, [](uint32_t x, uint32_t y) {
            if (x == 0 && y == 0) return Bgra{10, 20, 200, 128};
            return Bgra{uint8_t(x * 3), uint8_t(y * 3), uint8_t(x + y), 255};
        });
        return path;
    }

    std::vector<sim::RwCall> Calls(sim::RwOp op) {
        std::vector<sim::RwCall> out;
        for (const auto& c : sim::RwCallLog())
            if (c.op == op) out.push_back(c);
        return out;
    }
};

TEST_F(PngLoad, OwnSizeSingleLevelIsStraightAlphaBgra) {
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->raster->width, 64);
    EXPECT_EQ(texture->raster->height, 64);
    EXPECT_EQ(FilterMode(texture), 2u);

    auto creates = Calls(sim::RwOp::RasterCreate);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].depth, 32);
    EXPECT_EQ(creates[0].flags, 0x504);

    std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    // Straight alpha: the colour of a half-transparent pixel is not scaled down.
    EXPECT_EQ(level0[0], 10);
    EXPECT_EQ(level0[1], 20);
    EXPECT_EQ(level0[2], 200);
    EXPECT_EQ(level0[3], 128);
    size_t at = (size_t(5) * 64 + 7) * 4;
    EXPECT_EQ(level0[at + 0], 21);
    EXPECT_EQ(level0[at + 1], 15);
    EXPECT_EQ(level0[at + 2], 12);
    EXPECT_EQ(level0[at + 3], 255);
}

TEST_F(PngLoad, UnscaledLevelZeroNeverGoesThroughTheScaler) {
    std::string path = WriteGradient("icon.png");
    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 64, 64, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CreateBitmapScaler), 0);
    ASSERT_NE(LoadPNGToRwTexture(WriteGradient("b.png").c_str(), 32, 32, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CreateBitmapScaler), 1);
}

TEST_F(PngLoad, EachSideResolvesOnItsOwn) {
    std::string path = WriteGradient("wide.png", 200, 100);
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 64, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->raster->width, 64);
    EXPECT_EQ(texture->raster->height, 100);
    RwTexture* tall = LoadPNGToRwTexture(WriteGradient("sq.png").c_str(), 32, 0, 0, 0);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->raster->width, 32);
    EXPECT_EQ(tall->raster->height, 64);
}

TEST_F(PngLoad, FullChainLocksEveryLevelOnceInOrder) {
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    EXPECT_EQ(Calls(sim::RwOp::RasterCreate)[0].flags, 0x8504);

    // Writes fill the raster; the reads after them copy it into the cache file.
    std::vector<uint32_t> writes;
    for (const auto& lock : Calls(sim::RwOp::RasterLock))
        if (lock.lockMode == 1) writes.push_back(lock.level);
    EXPECT_EQ(writes, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterUnlock), 14);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::TextureCreate), 1);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 0);
}

TEST_F(PngLoad, MaxMipLevelsCapsTheChain) {
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 3);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    int writes = 0;
    for (const auto& lock : Calls(sim::RwOp::RasterLock)) writes += lock.lockMode == 1;
    EXPECT_EQ(writes, 3);
}

TEST_F(PngLoad, ChainLevelsAreBoxAveragesOfTheFullImage) {
    std::string path = Scratch("checker.png");
    WritePng(path, 4, 4, [](uint32_t x, uint32_t y) {
        uint8_t v = ((x + y) % 2) ? 200 : 100;
        return Bgra{v, v, v, 255};
    });
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    std::vector<uint8_t> level1 = LevelPixels(texture, 1);
    ASSERT_EQ(level1.size(), 2u * 2 * 4);
    for (size_t i = 0; i < level1.size(); i += 4) EXPECT_EQ(level1[i], 150) << i;
    std::vector<uint8_t> level2 = LevelPixels(texture, 2);
    ASSERT_EQ(level2.size(), 4u);
    EXPECT_EQ(level2[0], 150);
}

TEST_F(PngLoad, NonRectangularChainSizes) {
    std::string path = WriteGradient("strip.png", 100, 30);
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    const uint32_t sizes[][2] = {{100, 30}, {50, 15}, {25, 7}, {12, 3}, {6, 1}, {3, 1}, {1, 1}};
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(LevelPixels(texture, i).size(), size_t(sizes[i][0]) * sizes[i][1] * 4) << i;
}

TEST_F(PngLoad, OnePixelImageWithMipmapsIsOneLevel) {
    std::string path = Scratch("dot.png");
    WritePng(path, 1, 1, [](uint32_t, uint32_t) { return Bgra{1, 2, 3, 4}; });
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(Calls(sim::RwOp::RasterCreate)[0].flags, 0x504);
    EXPECT_EQ(FilterMode(texture), 2u);
}

TEST_F(PngLoad, OnlyTheLowByteOfUseMipmapsCounts) {
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 0x100, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(Calls(sim::RwOp::RasterCreate)[0].flags, 0x504);
    EXPECT_EQ(FilterMode(texture), 2u);
    RwTexture* chained = LoadPNGToRwTexture(WriteGradient("b.png").c_str(), 0, 0, 0x101, 5);
    ASSERT_NE(chained, nullptr);
    EXPECT_EQ(FilterMode(chained), 6u);
}

TEST_F(PngLoad, FilterModeKeepsTheAddressingBits) {
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->filterAddressing, (sim::kInitialFilterAddressing & ~0xFFu) | 6u);
}

TEST_F(PngLoad, PaddedRowsAreWrittenAtStrideAndPaddingIsUntouched) {
    sim::ConfigureRwEngine({12});
    std::string path = WriteGradient("icon.png");
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(sim::RasterPaddingIntact(texture->raster));
    std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    EXPECT_EQ(level0[(size_t(63) * 64 + 63) * 4 + 0], 189);
    // Row by row: one copy per row of every level.
    EXPECT_EQ(substitute::CallCount(Call::CopyPixels), 64 + 32 + 16 + 8 + 4 + 2 + 1);

    // The chain written from a padded raster loads back into a padded one unchanged, from the
    // cache file: a decode would give the same pixels and hide a cache that refuses padding.
    ASSERT_TRUE(FileExists(CacheFileOf(path, 64, 64)));
    sim::ClearRwCallLog();
    substitute::ResetSubstitute();
    RwTexture* cached = LoadPNGToRwTexture(path.c_str(), 64, 64, 1, 0);
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CreateDecoderFromFilename), 0);
    EXPECT_EQ(LevelPixels(cached, 0), level0);
    EXPECT_EQ(LevelPixels(cached, 3), LevelPixels(texture, 3));
    EXPECT_TRUE(sim::RasterPaddingIntact(cached->raster));
}

TEST_F(PngLoad, JpegLoadsThroughThePngExport) {
    std::string path = Scratch("photo.jpg");
    WriteJpeg(path, 16, 8, Bgra{40, 80, 160, 255});
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->raster->width, 16);
    EXPECT_EQ(texture->raster->height, 8);
    std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    EXPECT_NEAR(level0[0], 40, 6);
    EXPECT_NEAR(level0[1], 80, 6);
    EXPECT_NEAR(level0[2], 160, 6);
    EXPECT_EQ(level0[3], 255);
}

// The decoder takes the path as UTF-8 when it is well-formed UTF-8 and as the ANSI page
// otherwise; the cache's file functions always read it as the ANSI page, as Windows' do.
TEST_F(PngLoad, NonAsciiPathsOpenAsUtf8FirstAndAsTheAnsiPageOtherwise) {
    const struct Case {
        const char* what;
        std::string folder;  // 8-bit, as the caller passes it
        int conversions;     // MultiByteToWideChar calls
        bool cached;         // the ANSI file functions found the source
    } cases[] = {
        {"UTF-8", "r\xC3\xA4" "dio-\xE6\x97\xA5", 1, false},
        {"ANSI byte 0xE9", "caf\xE9", 2, true},
        {"ANSI bytes 0x80 and 0xFF", "\x80y\xFF", 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Scratch(c.folder) + "\\icon.png";
        // Where the file lies when the caller's bytes name it, in the encoding they are in.
        const std::string onDisk =
            c.cached ? substitute::PosixPath(path.c_str()) : Scratch(c.folder) + "/icon.png";
        std::filesystem::create_directories(std::filesystem::path(onDisk).parent_path());
        WritePng(onDisk, 8, 8, [](uint32_t, uint32_t) { return Bgra{9, 9, 9, 255}; });
        substitute::ResetSubstitute();
        RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 0, 0);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(substitute::CallCount(Call::MultiByteToWideChar), c.conversions);
        EXPECT_EQ(FileExists(CacheFileOf(onDisk, 8, 8)), c.cached);
    }
}

TEST_F(PngLoad, NoComObjectSurvivesALoad) {
    std::string path = WriteGradient("icon.png");
    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0), nullptr);
    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 48, 20, 1, 0), nullptr);
    // Only the process-wide factory stays.
    long afterFirst = substitute::LiveComObjects();
    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 30, 30, 1, 2), nullptr);
    EXPECT_EQ(substitute::LiveComObjects(), afterFirst);
    EXPECT_LE(afterFirst, liveComAtStart_ + 1);
}

TEST_F(PngLoad, TexturesAreLeftToTheCaller) {
    std::string path = WriteGradient("icon.png");
    RwTexture* first = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    RwTexture* second = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(sim::LiveTextures(), 2);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 0);
}

}  // namespace
