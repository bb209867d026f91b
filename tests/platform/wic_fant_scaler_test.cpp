// The area-averaging scaler: exact box means for whole ratios, coverage weights for the rest,
// channels on their own, upscaling by repetition and blending.
#include <random>

#include "tests/platform/wic_test_support.h"

namespace {

using wic_test::WicTest;

// Coverage-weighted mean straight from the definition: along each axis a source pixel is `to`
// units wide and destination pixel d covers units [d * from, (d + 1) * from).
std::vector<uint8_t> ReferenceAreaMean(const std::vector<uint8_t>& bgra, UINT sw, UINT sh, UINT dw,
                                       UINT dh) {
    auto overlap = [](uint64_t d, uint64_t s, uint64_t from, uint64_t to) -> uint64_t {
        uint64_t begin = std::max(d * from, s * to), end = std::min((d + 1) * from, (s + 1) * to);
        return end > begin ? end - begin : 0;
    };
    std::vector<uint8_t> out(size_t(dw) * dh * 4);
    for (UINT dy = 0; dy < dh; ++dy)
        for (UINT dx = 0; dx < dw; ++dx)
            for (int c = 0; c < 4; ++c) {
                uint64_t sum = 0;
                for (UINT sy = 0; sy < sh; ++sy)
                    for (UINT sx = 0; sx < sw; ++sx)
                        sum += overlap(dx, sx, sw, dw) * overlap(dy, sy, sh, dh) *
                               bgra[(size_t(sy) * sw + sx) * 4 + c];
                uint64_t total = uint64_t(sw) * sh;
                out[(size_t(dy) * dw + dx) * 4 + c] = uint8_t((sum + total / 2) / total);
            }
    return out;
}

class WicFantScaler : public WicTest {
protected:
    std::vector<uint8_t> Scale(const std::vector<uint8_t>& bgra, UINT sw, UINT sh, UINT dw,
                               UINT dh) {
        ComPtr<IWICFormatConverter> converter =
            Converted(Frame(WritePng("source.png", sw, sh, bgra)).Get());
        ComPtr<IWICBitmapScaler> scaler = Scaled(converter.Get(), dw, dh);
        UINT w = 0, h = 0;
        EXPECT_EQ(scaler->GetSize(&w, &h), S_OK);
        EXPECT_EQ(w, dw);
        EXPECT_EQ(h, dh);
        return Pixels(scaler.Get());
    }
};

TEST_F(WicFantScaler, WholeRatiosGiveBoxMeansRoundedToNearest) {
    // Each 2 x 2 block of a 4 x 4 image, one channel per test value.
    const uint8_t blocks[4][4] = {{0, 0, 0, 1},           // 0.25 -> 0
                                  {0, 1, 1, 1},           // 0.75 -> 1
                                  {10, 20, 30, 40},       // 25
                                  {255, 255, 255, 254}};  // 254.75 -> 255
    std::vector<uint8_t> bgra(4 * 4 * 4);
    for (int by = 0; by < 2; ++by)
        for (int bx = 0; bx < 2; ++bx)
            for (int i = 0; i < 4; ++i) {
                int x = bx * 2 + i % 2, y = by * 2 + i / 2;
                uint8_t v = blocks[by * 2 + bx][i];
                uint8_t* p = &bgra[(y * 4 + x) * 4];
                p[0] = v, p[1] = uint8_t(255 - v), p[2] = v, p[3] = 255;
            }
    std::vector<uint8_t> out = Scale(bgra, 4, 4, 2, 2);
    ASSERT_EQ(out.size(), 16u);
    const uint8_t expected[4] = {0, 1, 25, 255};
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(out[b * 4 + 0], expected[b]) << b;
        EXPECT_EQ(out[b * 4 + 3], 255) << b;
    }
    EXPECT_EQ(out[1], 255);          // 255 - mean(0, 0, 0, 1) = 254.75
    EXPECT_EQ(out[2 * 4 + 1], 230);  // 255 - 25
}

TEST_F(WicFantScaler, OddRatiosWeighByCoverage) {
    // 3 -> 2: the middle pixel is split between both halves, (2a + b) / 3 and (b + 2c) / 3.
    std::vector<uint8_t> row = {30, 0, 0, 255, 90, 0, 0, 255, 210, 0, 0, 255};
    std::vector<uint8_t> out = Scale(row, 3, 1, 2, 1);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0], 50);
    EXPECT_EQ(out[4], 170);
}

TEST_F(WicFantScaler, UpscalingRepeatsAndBlends) {
    std::vector<uint8_t> two = {0, 0, 0, 255, 100, 0, 0, 255};
    std::vector<uint8_t> four = Scale(two, 2, 1, 4, 1);
    ASSERT_EQ(four.size(), 16u);
    EXPECT_EQ(four[0], 0);
    EXPECT_EQ(four[4], 0);
    EXPECT_EQ(four[8], 100);
    EXPECT_EQ(four[12], 100);
    std::vector<uint8_t> three = Scale(two, 2, 1, 3, 1);
    ASSERT_EQ(three.size(), 12u);
    EXPECT_EQ(three[0], 0);
    EXPECT_EQ(three[4], 50);  // straddles both source pixels equally
    EXPECT_EQ(three[8], 100);
}

TEST_F(WicFantScaler, ChannelsAreAveragedOnTheirOwn) {
    // Colour is not weighted by alpha: a transparent pixel's colour counts fully.
    std::vector<uint8_t> two = {200, 0, 40, 0, 100, 80, 0, 254};
    std::vector<uint8_t> one = Scale(two, 2, 1, 1, 1);
    EXPECT_EQ(one, (std::vector<uint8_t>{150, 40, 20, 127}));
}

TEST_F(WicFantScaler, MatchesTheCoverageDefinitionForManySizes) {
    std::mt19937 random(7);
    const UINT sizes[][4] = {{7, 5, 3, 2},    {5, 7, 2, 3}, {9, 9, 4, 4}, {10, 3, 4, 1},
                             {3, 4, 7, 9},    {6, 6, 6, 4}, {1, 1, 3, 2}, {11, 13, 5, 6},
                             {64, 48, 13, 7}, {5, 2, 8, 3}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1] << " -> " << s[2] << "x" << s[3]);
        std::vector<uint8_t> bgra(size_t(s[0]) * s[1] * 4);
        for (uint8_t& b : bgra) b = uint8_t(random());
        EXPECT_EQ(Scale(bgra, s[0], s[1], s[2], s[3]),
                  ReferenceAreaMean(bgra, s[0], s[1], s[2], s[3]));
    }
}

TEST_F(WicFantScaler, OwnSizeIsTheSourceUnchanged) {
    std::vector<uint8_t> bgra = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(Scale(bgra, 3, 1, 3, 1), bgra);
}

TEST_F(WicFantScaler, RefusesBadArgumentsAndReinitialisation) {
    ComPtr<IWICFormatConverter> converter =
        Converted(Frame(WritePng("a.png", 2, 2, std::vector<uint8_t>(16, 9))).Get());
    ComPtr<IWICBitmapScaler> scaler;
    ASSERT_EQ(factory_->CreateBitmapScaler(scaler.Put()), S_OK);
    EXPECT_EQ(scaler->Initialize(converter.Get(), 0, 2, WICBitmapInterpolationModeFant),
              E_INVALIDARG);
    EXPECT_EQ(scaler->Initialize(nullptr, 2, 2, WICBitmapInterpolationModeFant), E_INVALIDARG);
    EXPECT_EQ(scaler->Initialize(converter.Get(), 2, 2, WICBitmapInterpolationModeLinear),
              WINCODEC_ERR_UNSUPPORTEDOPERATION);
    ASSERT_EQ(scaler->Initialize(converter.Get(), 1, 1, WICBitmapInterpolationModeFant), S_OK);
    EXPECT_EQ(scaler->Initialize(converter.Get(), 1, 1, WICBitmapInterpolationModeFant),
              WINCODEC_ERR_WRONGSTATE);
    converter.Reset();  // the scaler holds its own reference
    EXPECT_EQ(Pixels(scaler.Get()), (std::vector<uint8_t>{9, 9, 9, 9}));
}

}  // namespace
