// The substitute's blur is a real Gaussian with transparent surroundings.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/posix/gaussian_blur.h"

namespace {

TEST(GaussianBlur, SpreadsAnImpulseWithTheGivenDeviation) {
    const uint32_t size = 41;
    std::vector<uint8_t> in(size * size * 4, 0), out(size * size * 4, 0);
    // A 5x5 opaque block keeps the rounded output well above the byte resolution.
    for (uint32_t y = 18; y <= 22; ++y)
        for (uint32_t x = 18; x <= 22; ++x)
            for (int c = 0; c < 4; ++c) in[(y * size + x) * 4 + c] = 255;
    const float sigma = 3.0f;
    substitute::GaussianBlurPremultiplied(in.data(), size * 4, out.data(), size * 4, size, size,
                                          sigma);
    double total = 0, spread = 0;
    for (uint32_t x = 0; x < size; ++x) {
        const double a = out[(20 * size + x) * 4 + 3];
        total += a;
        spread += a * (double(x) - 20) * (double(x) - 20);
    }
    // Variance of the row: the block's own (2) plus the kernel's (sigma squared).
    EXPECT_NEAR(spread / total, 2.0 + sigma * sigma, 1.0);
    EXPECT_EQ(out[(20 * size + 20) * 4 + 2], out[(20 * size + 20) * 4 + 3]) << "stays premultiplied";
    EXPECT_EQ(out[(20 * size + 10) * 4 + 3], out[(20 * size + 30) * 4 + 3]) << "symmetric";
}

TEST(GaussianBlur, EdgesFadeAndZeroDeviationCopies) {
    const uint32_t w = 20, h = 10;
    std::vector<uint8_t> in(w * h * 4, 255), out(w * h * 4, 0);
    substitute::GaussianBlurPremultiplied(in.data(), w * 4, out.data(), w * 4, w, h, 2.0f);
    EXPECT_LT(out[3], 100) << "the corner mixes with transparent surroundings";
    EXPECT_LT(out[(5 * w + 0) * 4 + 3], 200);

    substitute::GaussianBlurPremultiplied(in.data(), w * 4, out.data(), w * 4, w, h, 0.0f);
    EXPECT_EQ(out, in);
}

}  // namespace
