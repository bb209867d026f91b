#include "gaussian_blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace substitute {
namespace {

// Normalised weights for offsets -radius..radius, radius = ceil(3 deviation).
std::vector<float> GaussianKernel(float deviation) {
    const int radius = static_cast<int>(std::ceil(3.0f * deviation));
    std::vector<float> weights(static_cast<size_t>(2 * radius + 1));
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) {
        const float w = std::exp(-(static_cast<float>(i) * static_cast<float>(i)) /
                                 (2.0f * deviation * deviation));
        weights[static_cast<size_t>(i + radius)] = w;
        sum += w;
    }
    for (float& w : weights) w /= sum;
    return weights;
}

// One pass along lines of `count` pixels; `step` is the distance of neighbours in floats.
void BlurLine(const float* in, float* out, uint32_t count, size_t step,
              const std::vector<float>& kernel) {
    const int radius = static_cast<int>(kernel.size() / 2);
    for (uint32_t i = 0; i < count; ++i) {
        float sum[4] = {0, 0, 0, 0};
        const int from = std::max(0, static_cast<int>(i) - radius);
        const int to = std::min(static_cast<int>(count) - 1, static_cast<int>(i) + radius);
        for (int j = from; j <= to; ++j) {
            const float w = kernel[static_cast<size_t>(j - static_cast<int>(i) + radius)];
            const float* p = in + static_cast<size_t>(j) * step;
            for (int c = 0; c < 4; ++c) sum[c] += w * p[c];
        }
        float* q = out + static_cast<size_t>(i) * step;
        for (int c = 0; c < 4; ++c) q[c] = sum[c];
    }
}

}  // namespace

void GaussianBlurPremultiplied(const uint8_t* source, size_t sourcePitch, uint8_t* destination,
                               size_t destinationPitch, uint32_t width, uint32_t height,
                               float deviation) {
    if (!(deviation > 0.0f)) {
        for (uint32_t y = 0; y < height; ++y)
            std::memcpy(destination + y * destinationPitch, source + y * sourcePitch,
                        static_cast<size_t>(width) * 4);
        return;
    }
    deviation = std::min(deviation, kMaxBlurDeviation);
    const std::vector<float> kernel = GaussianKernel(deviation);
    const size_t rowFloats = static_cast<size_t>(width) * 4;
    std::vector<float> a(rowFloats * height), b(rowFloats * height);
    for (uint32_t y = 0; y < height; ++y)
        for (size_t x = 0; x < rowFloats; ++x) a[y * rowFloats + x] = source[y * sourcePitch + x];

    for (uint32_t y = 0; y < height; ++y)
        BlurLine(&a[y * rowFloats], &b[y * rowFloats], width, 4, kernel);
    for (uint32_t x = 0; x < width; ++x)
        BlurLine(&b[static_cast<size_t>(x) * 4], &a[static_cast<size_t>(x) * 4], height, rowFloats,
                 kernel);

    for (uint32_t y = 0; y < height; ++y)
        for (size_t x = 0; x < rowFloats; ++x) {
            const float v = std::round(a[y * rowFloats + x]);
            destination[y * destinationPitch + x] =
                static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
        }
}

}  // namespace substitute
