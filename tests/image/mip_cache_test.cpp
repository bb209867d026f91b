// The cache file: its bytes, when it serves a load and when it is refused or replaced.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/exports.h"
#include "load/load_request.h"
#include "load/mip_cache.h"
#include "platform/posix/substitute.h"
#include "raster/raster_decoder.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

using substitute::Call;

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

class MipCache : public ImageFixture {
protected:
    void SetUp() override {
        ImageFixture::SetUp();
        path_ = Scratch("radio.png");
        WritePng(path_, 64, 64, [](uint32_t x, uint32_t y) {
            return Bgra{uint8_t(x * 4), uint8_t(y * 4), 99, uint8_t(255 - x)};
        });
        cache_ = CacheFileOf(path_, 64, 64);
    }

    RwTexture* Load(uint32_t w, uint32_t h, uint32_t mips, uint32_t maxLevels = 0) {
        return LoadPngTexture(MakeLoadRequest(path_.c_str(), w, h, mips, maxLevels), outcome_);
    }

    // True when the last load was answered without opening the image.
    bool ServedFromCache() {
        return outcome_.status == LoadStatus::ServedFromCache &&
               substitute::CallCount(Call::CreateDecoderFromFilename) == 0;
    }

    void Forget() {
        substitute::ResetSubstitute();
        sim::ClearRwCallLog();
    }

    std::string path_;
    std::string cache_;
    LoadOutcome outcome_;
};

TEST_F(MipCache, FileHoldsTheHeaderThenPackedLevels) {
    RwTexture* texture = Load(64, 64, 1);
    ASSERT_NE(texture, nullptr);
    std::vector<uint8_t> file = ReadBytes(cache_);
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(std::memcmp(file.data(), "CPIM", 4), 0);
    WIN32_FILE_ATTRIBUTE_DATA source{};
    ASSERT_TRUE(GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &source));
    EXPECT_EQ(Le32(file, 4), 1u);
    EXPECT_EQ(Le32(file, 8), source.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(Le32(file, 12), source.ftLastWriteTime.dwHighDateTime);
    EXPECT_EQ(Le32(file, 16), source.nFileSizeLow);
    EXPECT_EQ(Le32(file, 20), 0u);
    EXPECT_EQ(Le32(file, 24), 64u);
    EXPECT_EQ(Le32(file, 28), 64u);
    EXPECT_EQ(Le32(file, 32), 7u);
    EXPECT_EQ(Le32(file, 36), 0x8504u);
    uint32_t dataSize = (64 * 64 + 32 * 32 + 16 * 16 + 8 * 8 + 4 * 4 + 2 * 2 + 1) * 4;
    EXPECT_EQ(Le32(file, 40), dataSize);
    ASSERT_EQ(file.size(), 44u + dataSize);

    std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    EXPECT_TRUE(std::equal(level0.begin(), level0.end(), file.begin() + 44));
    std::vector<uint8_t> level6 = LevelPixels(texture, 6);
    EXPECT_TRUE(std::equal(level6.begin(), level6.end(), file.end() - 4));
}

TEST_F(MipCache, SecondIdenticalLoadIsServedWithIdenticalPixels) {
    RwTexture* first = Load(64, 64, 1);
    ASSERT_NE(first, nullptr);
    Forget();
    RwTexture* second = Load(64, 64, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(ServedFromCache());
    EXPECT_EQ(FilterMode(second), 6u);
    for (uint32_t i = 0; i < 7; ++i) EXPECT_EQ(LevelPixels(second, i), LevelPixels(first, i)) << i;
    EXPECT_EQ(second->filterAddressing & ~0xFFu, sim::kInitialFilterAddressing & ~0xFFu);
}

TEST_F(MipCache, OwnSizeAndZeroSizeShareOneFile) {
    ASSERT_NE(Load(0, 0, 0), nullptr);
    EXPECT_TRUE(FileExists(cache_));
    Forget();
    ASSERT_NE(Load(64, 64, 0), nullptr);
    EXPECT_TRUE(ServedFromCache());
    Forget();
    // A zero side opens the image to learn its size, then the cache answers.
    ASSERT_NE(Load(0, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CreateDecoderFromFilename), 1);
    EXPECT_EQ(substitute::CallCount(Call::CreateFormatConverter), 0);
}

TEST_F(MipCache, EachSizeHasItsOwnFile) {
    ASSERT_NE(Load(64, 64, 0), nullptr);
    ASSERT_NE(Load(32, 32, 0), nullptr);
    EXPECT_TRUE(FileExists(cache_));
    EXPECT_TRUE(FileExists(CacheFileOf(path_, 32, 32)));
}

TEST_F(MipCache, ChangedSourceTimeOrSizeIsAMissAndRewrites) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    TouchBy(path_, 5);
    Forget();
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::SourceChanged);
    Forget();
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_TRUE(ServedFromCache()) << "the rewritten file matches the new time";

    std::vector<uint8_t> bytes = ReadBytes(path_);
    bytes.push_back(0);  // trailing byte after IEND: same image, other size
    WriteBytes(path_, bytes);
    Forget();
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_FALSE(ServedFromCache());
}

// Draws solid levels of the source's size and, while it draws, the source is saved over as
// an editor would save it.
class SourceSavedWhileDrawn final : public TextureSource {
public:
    explicit SourceSavedWhileDrawn(std::string path) : path_(std::move(path)) {}
    LoadStatus Open(uint32_t& width, uint32_t& height) override {
        width = height = 64;
        return LoadStatus::Drawn;
    }
    LoadStatus Prepare() override { return LoadStatus::Drawn; }
    LevelAccess FillLevel(RwRaster* raster, uint32_t level, uint32_t w, uint32_t h) override {
        if (level == 0) TouchBy(path_, 5);
        return WithLockedLevel(raster, level, w, h, rwRASTERLOCKWRITE, [](const LockedLevel&) {
            return true;
        });
    }

private:
    std::string path_;
};

TEST_F(MipCache, SourceSavedDuringALoadIsDrawnAgainNextTime) {
    SourceSavedWhileDrawn source(path_);
    const LoadRequest request = MakeLoadRequest(path_.c_str(), 64, 64, 1, 0);
    ASSERT_NE(RunLoadRequest(request, source, outcome_), nullptr);
    EXPECT_TRUE(outcome_.cacheWritten);
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::Drawn);
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::SourceChanged);
}

TEST_F(MipCache, MissingSourceNeverUsesTheCache) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    std::remove(path_.c_str());
    Forget();
    EXPECT_EQ(Load(64, 64, 1), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NoSuchFile);
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::NoSource);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0);
}

TEST_F(MipCache, SingleLevelAndChainReplaceEachOther) {
    ASSERT_NE(Load(64, 64, 0), nullptr);
    Forget();
    RwTexture* chain = Load(64, 64, 1);
    ASSERT_NE(chain, nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(Le32(ReadBytes(cache_), 32), 7u);
    Forget();
    ASSERT_NE(Load(64, 64, 0), nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(Le32(ReadBytes(cache_), 32), 1u);
}

TEST_F(MipCache, StoredChainMustMatchTheRequestedLevelCount) {
    ASSERT_NE(Load(64, 64, 1, 0), nullptr);
    Forget();
    RwTexture* three = Load(64, 64, 1, 3);
    ASSERT_NE(three, nullptr);
    EXPECT_FALSE(ServedFromCache()) << "a seven-level file must not answer a three-level request";
    EXPECT_EQ(Le32(ReadBytes(cache_), 32), 3u);
    Forget();
    ASSERT_NE(Load(64, 64, 1, 3), nullptr);
    EXPECT_TRUE(ServedFromCache());
    Forget();
    ASSERT_NE(Load(64, 64, 1, 0), nullptr);
    EXPECT_FALSE(ServedFromCache());
}

TEST_F(MipCache, OneLevelCapForALargerImageDecodesEveryTime) {
    ASSERT_NE(Load(64, 64, 1, 1), nullptr);
    Forget();
    ASSERT_NE(Load(64, 64, 1, 1), nullptr);
    EXPECT_FALSE(ServedFromCache());
}

TEST_F(MipCache, FileCutInsidePixelsIsAMissAndItsRasterDestroyed) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    std::vector<uint8_t> file = ReadBytes(cache_);
    file.resize(44 + 64 * 64 * 4 + 100);
    WriteBytes(cache_, file);
    sim::ResetRwEngine();
    Forget();
    RwTexture* texture = Load(64, 64, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::ShortData);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 1);
    EXPECT_EQ(sim::LiveRasters(), 1);
    EXPECT_EQ(ReadBytes(cache_).size(), 44u + Le32(ReadBytes(cache_), 40));
}

TEST_F(MipCache, HeaderFieldsThatDoNotFitAreMisses) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    const std::vector<uint8_t> good = ReadBytes(cache_);
    struct Edit {
        const char* what;
        size_t offset;
        uint32_t value;
        MipCacheVerdict verdict;
    };
    const Edit edits[] = {
        {"magic MIPC", 0, 0x4350494D, MipCacheVerdict::BadMagic},
        {"version 2", 4, 2, MipCacheVerdict::BadVersion},
        {"width", 24, 32, MipCacheVerdict::WrongSize},
        {"level count 0", 32, 0, MipCacheVerdict::WrongLevels},
        {"flags with automatic mipmaps", 36, 0x9504, MipCacheVerdict::WrongFlags},
        {"flags of a single level", 36, 0x504, MipCacheVerdict::WrongFlags},
        {"data size", 40, 12, MipCacheVerdict::WrongDataSize},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        std::vector<uint8_t> bad = good;
        for (int i = 0; i < 4; ++i) bad[e.offset + i] = uint8_t(e.value >> (8 * i));
        WriteBytes(cache_, bad);
        Forget();
        ASSERT_NE(Load(64, 64, 1), nullptr);
        EXPECT_FALSE(ServedFromCache());
        EXPECT_EQ(outcome_.cache, e.verdict);
    }
}

TEST_F(MipCache, CacheLockFailureDestroysTheRasterAndDecodes) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    sim::ResetRwEngine();
    Forget();
    sim::FailRwOp(sim::RwOp::RasterLock, 2);
    RwTexture* texture = Load(64, 64, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::LevelNotLocked);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 1);
    EXPECT_EQ(FilterMode(texture), 6u);
}

TEST_F(MipCache, RefusedCachedTextureFallsBackToDecoding) {
    ASSERT_NE(Load(64, 64, 1), nullptr);
    sim::ResetRwEngine();
    Forget();
    sim::FailRwOp(sim::RwOp::TextureCreate);
    RwTexture* texture = Load(64, 64, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(ServedFromCache());
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::TextureRefused);
    EXPECT_EQ(sim::LiveRasters(), 1) << "the refused raster is destroyed, not leaked";
}

TEST_F(MipCache, BrokenWriteDeletesTheFileButLoadSucceeds) {
    substitute::FailCall(Call::WriteFile, 3);
    RwTexture* texture = Load(64, 64, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    EXPECT_FALSE(FileExists(cache_));
    EXPECT_FALSE(outcome_.cacheWritten);

    sim::FailRwOp(sim::RwOp::RasterLock, 7 + 2);  // the fill's seven locks, then two reads
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_FALSE(FileExists(cache_));
}

TEST_F(MipCache, NoCacheFolderForNullOrEmptyPaths) {
    EXPECT_EQ(LoadPNGToRwTexture(nullptr, 16, 16, 0, 0), nullptr);
    EXPECT_EQ(LoadPNGToRwTexture("", 16, 16, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CreateDirectoryA), 0);
}

TEST_F(MipCache, CacheFolderIsMadeBeforeTheImageIsOpened) {
    std::string absent = Scratch("absent.png");
    EXPECT_EQ(LoadPNGToRwTexture(absent.c_str(), 16, 16, 0, 0), nullptr);
    EXPECT_TRUE(FileExists(Scratch(".mipcache")));
}

TEST_F(MipCache, FolderWhereNoCacheCanBeMadeStillLoads) {
    WriteBytes(Scratch(".mipcache"), {'x'});  // a file where the folder would go
    RwTexture* texture = Load(0, 0, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    Forget();
    ASSERT_NE(Load(64, 64, 1), nullptr);
    EXPECT_FALSE(ServedFromCache());
}

TEST_F(MipCache, PathWithoutFolderCachesInTheCurrentDirectory) {
    std::string here = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    RwTexture* texture = LoadPNGToRwTexture("radio.png", 16, 16, 0, 0);
    std::filesystem::current_path(here);
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(FileExists(Scratch(".mipcache/radio.png_16x16.mipmap")));
}

TEST(MipCachePath, SplitsAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(MakeMipCachePath("models\\icons\\radio.png", 64, 64),
              "models\\icons\\.mipcache\\radio.png_64x64.mipmap");
    EXPECT_EQ(MakeMipCachePath("C:/game/icons/logo.svg", 128, 32),
              "C:/game/icons\\.mipcache\\logo.svg_128x32.mipmap");
    EXPECT_EQ(MakeMipCachePath("radio.png", 16, 16), ".\\.mipcache\\radio.png_16x16.mipmap");
    EXPECT_EQ(MakeMipCachePath("a/b\\c.png", 4294967295u, 1),
              "a/b\\.mipcache\\c.png_4294967295x1.mipmap");
}

TEST(MipCacheHeader, EncodesLittleEndianAndRoundTrips) {
    MipCacheHeader h{kMipCacheMagic, 1, 2, 3, 4, 5, 6, 7, 8, 0x8504, 0xA1B2C3D4};
    uint8_t bytes[kMipCacheHeaderSize];
    EncodeMipCacheHeader(h, bytes);
    EXPECT_EQ(std::memcmp(bytes, "CPIM\x01\0\0\0\x02\0\0\0", 12), 0);
    EXPECT_EQ(bytes[40], 0xD4);
    EXPECT_EQ(bytes[43], 0xA1);
    MipCacheHeader back = DecodeMipCacheHeader(bytes);
    EXPECT_EQ(std::memcmp(&back, &h, sizeof h), 0);
}

}  // namespace
