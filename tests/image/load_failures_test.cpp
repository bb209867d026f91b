// Every failure point of a raster load gives the stated result and status, and leaks nothing.
#include <gtest/gtest.h>

#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "raster/raster_decoder.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

using substitute::Call;

class LoadFailures : public ImageFixture {
protected:
    void SetUp() override {
        ImageFixture::SetUp();
        path_ = Scratch("icon.png");
        WritePng(path_, 64, 64, [](uint32_t x, uint32_t y) {
            return Bgra{uint8_t(x), uint8_t(y), 7, 255};
        });
        // Create the process-wide factory up front so the live count below is a fair baseline.
        ASSERT_NE(LoadPNGToRwTexture(path_.c_str(), 2, 2, 0, 0), nullptr);
        sim::ResetRwEngine();
        substitute::ResetSubstitute();
        baseline_ = substitute::LiveComObjects();
    }

    RwTexture* LoadChain() { return Load(path_, 1); }
    RwTexture* Load(const std::string& path, uint32_t useMipmaps) {
        return LoadPngTexture(MakeLoadRequest(path.c_str(), 0, 0, useMipmaps, 0), outcome_);
    }

    void ExpectNothingLeft() {
        EXPECT_EQ(substitute::LiveComObjects(), baseline_);
        EXPECT_EQ(sim::LiveRasters(), sim::LiveTextures());
    }

    std::string path_;
    long baseline_ = 0;
    LoadOutcome outcome_;
};

TEST_F(LoadFailures, NullOrEmptyPathTouchesNothing) {
    EXPECT_EQ(LoadPNGToRwTexture(nullptr, 0, 0, 1, 0), nullptr);
    EXPECT_EQ(LoadPNGToRwTexture("", 16, 16, 1, 0), nullptr);
    EXPECT_EQ(Load("", 1), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NoPath);
    EXPECT_EQ(substitute::CallCount(Call::CreateDirectoryA), 0);
    EXPECT_EQ(substitute::CallCount(Call::MultiByteToWideChar), 0);
    EXPECT_TRUE(sim::RwCallLog().empty());
}

TEST_F(LoadFailures, PathThatConvertsNeitherWayGivesNull) {
    substitute::FailCall(Call::MultiByteToWideChar);
    ASSERT_NE(LoadChain(), nullptr) << "the ANSI page is tried when UTF-8 fails";
    sim::ResetRwEngine();
    substitute::FailCallAlways(Call::MultiByteToWideChar);
    EXPECT_EQ(LoadChain(), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::PathNotConvertible);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0);
}

TEST_F(LoadFailures, OverlongPathIsRefusedNotTruncated) {
    std::string longPath = dir_ + "/" + std::string(300, 'a') + ".png";
    EXPECT_EQ(Load(longPath, 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::PathNotConvertible);
    EXPECT_EQ(substitute::CallCount(Call::CreateDecoderFromFilename), 0);
}

// Each step before the raster exists ends the request with null and no raster.
TEST_F(LoadFailures, EarlyStepsGiveNullWithoutARaster) {
    const Call steps[] = {Call::CreateDecoderFromFilename, Call::GetFrame, Call::GetSize,
                          Call::CreateFormatConverter, Call::ConverterInitialize,
                          Call::CreateBitmapFromSource};
    for (Call step : steps) {
        substitute::FailCall(step);
        EXPECT_EQ(LoadChain(), nullptr) << int(step);
        EXPECT_EQ(outcome_.status, LoadStatus::NotDecodable) << int(step);
        EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0) << int(step);
        ExpectNothingLeft();
        substitute::ResetSubstitute();
    }
}

TEST_F(LoadFailures, RasterCreateRefusedGivesNull) {
    sim::FailRwOp(sim::RwOp::RasterCreate);
    EXPECT_EQ(LoadChain(), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::RasterRefused);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::TextureCreate), 0);
    ExpectNothingLeft();
}

// A level that cannot be filled keeps the texture, drops to linear filtering, writes no cache.
TEST_F(LoadFailures, LevelFailuresGiveLinearTextureAndNoCacheFile) {
    struct Case {
        const char* what;
        Call call;
        int successesFirst;
        sim::RwOp rwOp;
        LoadStatus status;
        uint32_t level;
    };
    const LoadStatus notFilled = LoadStatus::LevelNotFilled;
    const LoadStatus notLocked = LoadStatus::LevelNotLocked;
    const Case cases[] = {
        {"scaler creation on level 1", Call::CreateBitmapScaler, 0, sim::RwOp::Count, notFilled, 1},
        {"scaler initialise on level 3", Call::ScalerInitialize, 2, sim::RwOp::Count, notFilled, 3},
        {"pixel copy on level 0", Call::CopyPixels, 0, sim::RwOp::Count, notFilled, 0},
        {"pixel copy on level 2", Call::CopyPixels, 2, sim::RwOp::Count, notFilled, 2},
        {"lock of level 0", Call::Count, 0, sim::RwOp::RasterLock, notLocked, 0},
        {"lock of level 4", Call::Count, 4, sim::RwOp::RasterLock, notLocked, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.call != Call::Count) substitute::FailCall(c.call, c.successesFirst);
        if (c.rwOp != sim::RwOp::Count) sim::FailRwOp(c.rwOp, c.successesFirst);
        RwTexture* texture = LoadChain();
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(outcome_.status, c.status);
        EXPECT_EQ(outcome_.level, c.level);
        EXPECT_EQ(FilterMode(texture), 2u);
        EXPECT_EQ(texture->filterAddressing & ~0xFFu, sim::kInitialFilterAddressing & ~0xFFu);
        EXPECT_FALSE(FileExists(CacheFileOf(path_, 64, 64)));
        EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 0);
        ExpectNothingLeft();
        substitute::ResetSubstitute();
        sim::ResetRwEngine();
    }
}

TEST_F(LoadFailures, PaddedRowCopyFailureStopsTheLevel) {
    sim::ConfigureRwEngine({8});
    substitute::FailCall(Call::CopyPixels, 10);
    RwTexture* texture = LoadChain();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 2u);
    EXPECT_EQ(substitute::CallCount(Call::CopyPixels), 11);
    EXPECT_EQ(DescribeLoadStatus(outcome_), "level 0 could not be filled");
    EXPECT_TRUE(sim::RasterPaddingIntact(texture->raster));
    EXPECT_FALSE(FileExists(CacheFileOf(path_, 64, 64)));
}

// A stride narrower than a row is refused by every copy into a level: the decoder's, and the
// cache's, whose file then counts as a miss.
TEST_F(LoadFailures, StrideShortOfARowIsNeverWrittenThrough) {
    ASSERT_NE(LoadPngTexture(MakeLoadRequest(path_.c_str(), 64, 64, 1, 0), outcome_), nullptr);
    ASSERT_TRUE(outcome_.cacheWritten);
    sim::ResetRwEngine();
    substitute::ResetSubstitute();
    sim::ConfigureRwEngine({0, true});
    RwTexture* texture = LoadPngTexture(MakeLoadRequest(path_.c_str(), 64, 64, 1, 0), outcome_);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(outcome_.cache, MipCacheVerdict::LevelNotLocked);
    EXPECT_EQ(DescribeLoadStatus(outcome_), "level 0 could not be locked");
    EXPECT_EQ(substitute::CallCount(Call::CopyPixels), 0);
    EXPECT_EQ(FilterMode(texture), 2u);
}

TEST_F(LoadFailures, RefusedTextureDestroysItsRaster) {
    sim::FailRwOp(sim::RwOp::TextureCreate);
    EXPECT_EQ(LoadChain(), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::TextureRefused);
    EXPECT_EQ(sim::LiveRasters(), 0);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterDestroy), 1);
    ExpectNothingLeft();
}

TEST_F(LoadFailures, MissingOrUndecodableFilesGiveNull) {
    EXPECT_EQ(Load(Scratch("absent.png"), 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NoSuchFile);
    WriteBytes(Scratch("text.png"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(Load(Scratch("text.png"), 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NotDecodable);
    EXPECT_EQ(sim::LiveRasters(), 0);
    ExpectNothingLeft();
}

}  // namespace
