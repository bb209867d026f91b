#include "svg/svg_source.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class ReadSvgTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("svg_source_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_ / "sub");
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& relative, const std::string& bytes) {
        const fs::path path = folder_ / relative;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path folder_;
};

TEST_F(ReadSvgTextTest, KeepsEveryByteAsStored) {
    const std::string bytes("\xEF\xBB\xBF<svg>\r\n\0<path/>\r\n", 20);
    EXPECT_EQ(ReadSvgText(Write("icon.svg", bytes).c_str()), bytes);
}

TEST_F(ReadSvgTextTest, MissingEmptyAndNullGiveNothing) {
    EXPECT_EQ(ReadSvgText((folder_ / "absent.svg").string().c_str()), "");
    EXPECT_EQ(ReadSvgText(Write("empty.svg", "").c_str()), "");
    EXPECT_EQ(ReadSvgText(nullptr), "");
    EXPECT_EQ(ReadSvgText(""), "");
}

TEST_F(ReadSvgTextTest, OpensWindowsStylePaths) {
    Write("sub/icon.svg", "<svg/>");
    const std::string windowsPath = folder_.string() + "\\sub\\icon.svg";
    EXPECT_EQ(ReadSvgText(windowsPath.c_str()), "<svg/>");
}

TEST(FindQuotedValue, FindsTheValueAfterTheKey) {
    const std::string text = R"(<svg width="64" height="">)";
    auto width = FindQuotedValue(text, "width=\"", 0);
    ASSERT_TRUE(width);
    EXPECT_EQ(text.substr(width->start, width->length), "64");
    auto height = FindQuotedValue(text, "height=\"", 0);
    ASSERT_TRUE(height);
    EXPECT_EQ(height->length, 0u);
}

TEST(FindQuotedValue, KeyMatchesTheEndOfALongerName) {
    const std::string text = R"(<rect stroke-width="3" width="9"/>)";
    auto value = FindQuotedValue(text, "width=\"", 0);
    ASSERT_TRUE(value);
    EXPECT_EQ(text.substr(value->start, value->length), "3");
    auto later = FindQuotedValue(text, "width=\"", value->start);
    ASSERT_TRUE(later);
    EXPECT_EQ(text.substr(later->start, later->length), "9");
}

TEST(FindQuotedValue, AbsentWithoutKeyOrClosingQuote) {
    EXPECT_FALSE(FindQuotedValue(R"(<svg width='64'>)", "width=\"", 0));
    EXPECT_FALSE(FindQuotedValue(R"(<svg width="64)", "width=\"", 0));
    EXPECT_FALSE(FindQuotedValue(R"(<svg width=")", "width=\"", 0));
    EXPECT_FALSE(FindQuotedValue(R"(width="1")", "width=\"", 1));
    EXPECT_FALSE(FindQuotedValue("", "width=\"", 0));
}

TEST(ParseSvgLength, AppliesAbsoluteUnits) {
    EXPECT_FLOAT_EQ(ParseSvgLength("10.5mm"), 10.5f * 3.7795277f);
    EXPECT_FLOAT_EQ(ParseSvgLength("1cm"), 37.795277f);
    EXPECT_FLOAT_EQ(ParseSvgLength("2in"), 192.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("12pt"), 16.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("2pc"), 32.0f);
}

TEST(ParseSvgLength, OtherUnitsLeaveTheNumber) {
    EXPECT_FLOAT_EQ(ParseSvgLength("12px"), 12.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("100%"), 100.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("3em"), 3.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("5MM"), 5.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("5 mm"), 5.0f);
    EXPECT_FLOAT_EQ(ParseSvgLength("1e2mm"), 100.0f);  // the exponent starts the unit
    EXPECT_FLOAT_EQ(ParseSvgLength(" \t\r\n7mm"), 7.0f * 3.7795277f);
}

TEST(ParseSvgLength, NotAPositiveNumberIsZero) {
    EXPECT_EQ(ParseSvgLength("-5"), 0.0f);
    EXPECT_EQ(ParseSvgLength("0mm"), 0.0f);
    EXPECT_EQ(ParseSvgLength("auto"), 0.0f);
    EXPECT_EQ(ParseSvgLength(""), 0.0f);
    EXPECT_EQ(ParseSvgLength("nan"), 0.0f);
}

TEST(ParseSvgLength, BeyondFloatRangeIsTooLargeNotMissing) {
    EXPECT_TRUE(std::isinf(ParseSvgLength("1e39")));
    EXPECT_TRUE(std::isinf(ParseSvgLength("300000000000000000000000000000000000000in")));
}

struct RootSize {
    uint32_t width;
    uint32_t height;
};

RootSize RootSizeOf(const std::string& svgText) {
    RootSize size{7, 7};
    ParseSvgRootSize(svgText, size.width, size.height);
    return size;
}

#define EXPECT_ROOT_SIZE(text, w, h)           \
    do {                                       \
        const RootSize size = RootSizeOf(text); \
        EXPECT_EQ(size.width, w##u) << (text);  \
        EXPECT_EQ(size.height, h##u) << (text); \
    } while (0)

TEST(ParseSvgRootSize, LengthsAreRoundedUp) {
    EXPECT_ROOT_SIZE(R"(<svg width="10.5mm" height="2in">)", 40, 192);
    EXPECT_ROOT_SIZE(R"(<svg width="100%" height="20.0">)", 100, 20);
}

TEST(ParseSvgRootSize, OneSideWithoutViewBoxIsSquare) {
    EXPECT_ROOT_SIZE(R"(<svg width="48">)", 48, 48);
    EXPECT_ROOT_SIZE(R"(<svg height="30" width="-5">)", 30, 30);
    EXPECT_ROOT_SIZE(R"(<svg width="20" viewBox="0 0 10">)", 20, 20);
}

TEST(ParseSvgRootSize, ViewBoxGivesTheSizeOrTheAspectRatio) {
    EXPECT_ROOT_SIZE(R"(<svg viewBox="0,0,24,24">)", 24, 24);
    EXPECT_ROOT_SIZE(R"(<svg viewBox="-5 -5 10.2 3">)", 11, 3);
    EXPECT_ROOT_SIZE(R"(<svg width="64" viewBox="0 0 32 16">)", 64, 32);
    EXPECT_ROOT_SIZE(R"(<svg height="32" viewBox="0 0 32 16">)", 64, 32);
    EXPECT_ROOT_SIZE(R"(<svg width="10" height="20" viewBox="0 0 32 16">)", 10, 20);
}

TEST(ParseSvgRootSize, UnusableValuesCountAsMissing) {
    EXPECT_ROOT_SIZE(R"(<svg>)", 512, 512);
    EXPECT_ROOT_SIZE(R"(<svg width='64' height='32'>)", 512, 512);
    EXPECT_ROOT_SIZE(R"(<svg width="abc" viewBox="0 0 0 16">)", 512, 512);
    EXPECT_ROOT_SIZE(R"(<svg viewBox="0 0 24">)", 512, 512);
    EXPECT_ROOT_SIZE(R"(<svg viewBox="0 0 inf 24">)", 512, 512);
}

TEST(ParseSvgRootSize, OnlyTheFirstRootTagCounts) {
    EXPECT_ROOT_SIZE(R"(<svg><rect width="5" height="6"/></svg>)", 512, 512);
    EXPECT_ROOT_SIZE(R"(<!-- <svg width="9"> --><svg width="64" height="64">)", 9, 9);
}

TEST(ParseSvgRootSize, NoRootTagGivesZero) {
    EXPECT_ROOT_SIZE("", 0, 0);
    EXPECT_ROOT_SIZE("<sv", 0, 0);
    EXPECT_ROOT_SIZE(R"(<html width="5">)", 0, 0);
    EXPECT_ROOT_SIZE(R"(<svg width="5")", 0, 0);
}

TEST(ParseSvgRootSize, SidesBeyondThirtyTwoBitsAreRefused) {
    EXPECT_ROOT_SIZE(R"(<svg width="5e9" height="8">)", 0, 8);
    EXPECT_ROOT_SIZE(R"(<svg width="4294967040" height="1e39">)", 4294967040, 0);
    EXPECT_ROOT_SIZE(R"(<svg width="1e30" viewBox="0 0 1e-30 1">)", 0, 0);
}

}  // namespace
