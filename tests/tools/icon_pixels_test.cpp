// The two conversions an icon goes through between the engine's texture and its PNG file.
#include "tools/ombrix/icon_pixels.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct PixelCase {
    const char* what;
    std::vector<uint8_t> in;   // one BGRA pixel
    std::vector<uint8_t> out;
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << c.what; }

std::string CaseName(const testing::TestParamInfo<PixelCase>& info) {
    std::string name = info.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class UnpremultiplyCase : public testing::TestWithParam<PixelCase> {};

TEST_P(UnpremultiplyCase, RecoversStraightColour) {
    std::vector<uint8_t> pixel = GetParam().in;
    UnpremultiplyBgra(pixel);
    EXPECT_EQ(pixel, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Pixels, UnpremultiplyCase, testing::Values(
    PixelCase{"opaque is unchanged", {10, 200, 255, 255}, {10, 200, 255, 255}},
    PixelCase{"half cover doubles", {0, 64, 128, 128}, {0, 128, 255, 128}},
    PixelCase{"rounds to nearest", {1, 2, 3, 3}, {85, 170, 255, 3}},
    PixelCase{"transparent has no colour", {7, 7, 7, 0}, {0, 0, 0, 0}},
    PixelCase{"overbright clamps", {200, 0, 0, 100}, {255, 0, 0, 100}}),
    CaseName);

class GreyCase : public testing::TestWithParam<PixelCase> {};

TEST_P(GreyCase, WeighsChannelsAndKeepsAlpha) {
    std::vector<uint8_t> pixel = GetParam().in;
    GreyBgra(pixel);
    EXPECT_EQ(pixel, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Pixels, GreyCase, testing::Values(
    PixelCase{"pure red", {0, 0, 255, 255}, {76, 76, 76, 255}},
    PixelCase{"pure green", {0, 255, 0, 40}, {150, 150, 150, 40}},
    PixelCase{"pure blue", {255, 0, 0, 0}, {29, 29, 29, 0}},
    PixelCase{"white stays white", {255, 255, 255, 9}, {255, 255, 255, 9}}),
    CaseName);

}  // namespace
