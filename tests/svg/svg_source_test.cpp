#include "svg/svg_source.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FindQuotedValue, PlainSearchForTheKeyThenTheNextQuote) {
    const std::string text = R"(<rect stroke-width="3" width="" x='1'>)";
    auto first = FindQuotedValue(text, "width=\"", 0);
    ASSERT_TRUE(first);  // the key also ends a longer name
    EXPECT_EQ(text.substr(first->start, first->length), "3");
    auto second = FindQuotedValue(text, "width=\"", first->start);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->length, 0u);

    EXPECT_FALSE(FindQuotedValue(text, "x=\"", 0));
    EXPECT_FALSE(FindQuotedValue(R"(<svg width="64)", "width=\"", 0));
    EXPECT_FALSE(FindQuotedValue(R"(<svg width=")", "width=\"", 0));
}

TEST(ParseSvgLength, UnitsAndNonNumbers) {
    const struct {
        const char* text;
        float pixels;
    } cases[] = {
        {"10.5mm", 10.5f * 3.7795277f}, {"1cm", 37.795277f}, {"2in", 192}, {"12pt", 16},
        {"2pc", 32}, {" \t\r\n7in", 672}, {"12px", 12}, {"100%", 100}, {"5MM", 5}, {"5 mm", 5},
        {"1e2mm", 100},  // the exponent letter starts an unknown unit
        {"-5", 0}, {"0mm", 0}, {"auto", 0}, {"", 0}, {"nan", 0},
    };
    for (const auto& c : cases) EXPECT_FLOAT_EQ(ParseSvgLength(c.text), c.pixels) << c.text;
    // Too large for a float is too large for any side, not a missing one.
    EXPECT_TRUE(std::isinf(ParseSvgLength("1e39")));
    EXPECT_TRUE(std::isinf(ParseSvgLength("300000000000000000000000000000000000000in")));
}

TEST(ParseSvgRootSize, SizesFromTheRootTag) {
    const struct {
        const char* text;
        uint32_t width;
        uint32_t height;
    } cases[] = {
        {R"(<svg width="10.5mm" height="2in">)", 40, 192},
        {R"(<svg width="100%" height="20.0">)", 100, 20},
        {R"(<svg width="48">)", 48, 48},
        {R"(<svg height="30" width="-5">)", 30, 30},
        {R"(<svg viewBox="0,0,24,24">)", 24, 24},
        {R"(<svg viewBox="-5 -5 10.2 3">)", 11, 3},
        {R"(<svg width="64" viewBox="0 0 32 16">)", 64, 32},
        {R"(<svg height="32" viewBox="0 0 32 16">)", 64, 32},
        {R"(<svg width="10" height="20" viewBox="0 0 32 16">)", 10, 20},
        {R"(<svg width="20" viewBox="0 0 10">)", 20, 20},
        // Unusable values count as missing.
        {R"(<svg>)", 512, 512},
        {R"(<svg width='64' height='32'>)", 512, 512},
        {R"(<svg width="abc" viewBox="0 0 0 16">)", 512, 512},
        {R"(<svg viewBox="0 0 inf 24">)", 512, 512},
        // Only the first root tag's own bytes count, even inside a comment.
        {R"(<svg><rect width="5" height="6"/></svg>)", 512, 512},
        {R"(<!-- <svg width="9"> --><svg width="64" height="64">)", 9, 9},
        // No root tag.
        {"", 0, 0},
        {"<sv", 0, 0},
        {R"(<html width="5">)", 0, 0},
        {R"(<svg width="5")", 0, 0},
        // A side with no 32-bit ceiling is refused rather than wrapped.
        {R"(<svg width="5e9" height="8">)", 0, 8},
        {R"(<svg width="4294967040" height="1e39">)", 4294967040u, 0},
        {R"(<svg width="1e30" viewBox="0 0 1e-30 1">)", 0, 0},
    };
    for (const auto& c : cases) {
        uint32_t width = 7;
        uint32_t height = 7;
        ParseSvgRootSize(c.text, width, height);
        EXPECT_EQ(width, c.width) << c.text;
        EXPECT_EQ(height, c.height) << c.text;
    }
}

}  // namespace
