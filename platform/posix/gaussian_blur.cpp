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

// From a deviation of 2 up, three successive box blurs stand in for the Gaussian, as SVG's
// filter rules allow: boxes of d = floor(deviation * 3 * sqrt(2 pi) / 4 + 0.5) pixels, the
// three centred when d is odd; when even, two of d pixels, one window a pixel to the left of
// the other, and one of d + 1 centred. Each costs the same whatever its size.
constexpr float kBoxFromDeviation = 2.0f;

struct Box {
    int size;  // pixels in the window
    int left;  // pixels of the window before the one it is written to
};

std::vector<Box> BoxesFor(float deviation) {
    const int d = static_cast<int>(std::floor(deviation * 3.0f * std::sqrt(2.0f * 3.14159265f) /
                                                  4.0f +
                                              0.5f));
    if (d % 2 == 1) return {{d, d / 2}, {d, d / 2}, {d, d / 2}};
    return {{d, d / 2}, {d, d / 2 - 1}, {d + 1, d / 2}};
}

// One box along a line of `count` pixels by a running sum; outside the line is transparent.
void BoxLine(const float* in, float* out, uint32_t count, size_t step, const Box& box) {
    const int n = static_cast<int>(count);
    float sum[4] = {0, 0, 0, 0};
    const auto add = [&](int at, float sign) {
        if (at < 0 || at >= n) return;
        const float* p = in + static_cast<size_t>(at) * step;
        for (int c = 0; c < 4; ++c) sum[c] += sign * p[c];
    };
    for (int j = -box.left; j < box.size - box.left - 1; ++j) add(j, 1.0f);
    const float scale = 1.0f / static_cast<float>(box.size);
    for (int i = 0; i < n; ++i) {
        add(i - box.left + box.size - 1, 1.0f);
        float* q = out + static_cast<size_t>(i) * step;
        for (int c = 0; c < 4; ++c) q[c] = sum[c] * scale;
        add(i - box.left, -1.0f);
    }
}

// One box down every column of an image `rowFloats` floats wide at once: whole rows are added
// to and taken from one running row of sums, so the pass walks memory in order.
void BoxColumns(const float* in, float* out, size_t rowFloats, uint32_t height, const Box& box) {
    const int n = static_cast<int>(height);
    std::vector<float> sum(rowFloats, 0.0f);
    const auto add = [&](int row, float sign) {
        if (row < 0 || row >= n) return;
        const float* p = in + static_cast<size_t>(row) * rowFloats;
        for (size_t k = 0; k < rowFloats; ++k) sum[k] += sign * p[k];
    };
    for (int j = -box.left; j < box.size - box.left - 1; ++j) add(j, 1.0f);
    const float scale = 1.0f / static_cast<float>(box.size);
    for (int i = 0; i < n; ++i) {
        add(i - box.left + box.size - 1, 1.0f);
        float* q = out + static_cast<size_t>(i) * rowFloats;
        for (size_t k = 0; k < rowFloats; ++k) q[k] = sum[k] * scale;
        add(i - box.left, -1.0f);
    }
}

// Halves away from zero, as std::round, for the non-negative values a blur leaves.
uint8_t ToByte(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f) + 0.5f); }

// The exact Gaussian, for small deviations: rows, then columns, through two float images.
void BlurWithKernel(const uint8_t* source, size_t sourcePitch, uint8_t* destination,
                    size_t destinationPitch, uint32_t width, uint32_t height, float deviation) {
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
        for (size_t x = 0; x < rowFloats; ++x)
            destination[y * destinationPitch + x] = ToByte(a[y * rowFloats + x]);
}

// Columns go in strips this many floats wide: small enough to stay in the cache.
constexpr size_t kStripFloats = 64;

// Three boxes each way: each row through two line buffers into one float image, then the
// columns in narrow strips through two strip buffers straight into the destination, so
// little memory is taken and all of it is walked in order.
void BlurWithBoxes(const uint8_t* source, size_t sourcePitch, uint8_t* destination,
                   size_t destinationPitch, uint32_t width, uint32_t height, float deviation) {
    const std::vector<Box> boxes = BoxesFor(deviation);
    const size_t rowFloats = static_cast<size_t>(width) * 4;
    std::vector<float> image(rowFloats * height), line(rowFloats), spare(rowFloats);
    for (uint32_t y = 0; y < height; ++y) {
        // A transparent row blurs to the zeros the image holds already.
        const uint8_t* row = source + y * sourcePitch;
        if (std::all_of(row, row + rowFloats, [](uint8_t byte) { return byte == 0; })) continue;
        for (size_t x = 0; x < rowFloats; ++x) line[x] = row[x];
        for (size_t k = 0; k < boxes.size(); ++k) {
            const bool last = k + 1 == boxes.size();
            BoxLine(line.data(), last ? &image[y * rowFloats] : spare.data(), width, 4, boxes[k]);
            if (!last) line.swap(spare);
        }
    }
    std::vector<float> strip(kStripFloats * height), other(kStripFloats * height);
    for (size_t left = 0; left < rowFloats; left += kStripFloats) {
        const size_t floats = std::min(kStripFloats, rowFloats - left);
        for (uint32_t y = 0; y < height; ++y)
            std::memcpy(&strip[y * floats], &image[y * rowFloats + left], floats * sizeof(float));
        // A transparent strip blurs to zeros.
        if (std::all_of(strip.begin(), strip.begin() + static_cast<std::ptrdiff_t>(floats * height),
                        [](float value) { return value == 0.0f; })) {
            for (uint32_t y = 0; y < height; ++y)
                std::memset(destination + y * destinationPitch + left, 0, floats);
            continue;
        }
        for (const Box& box : boxes) {
            BoxColumns(strip.data(), other.data(), floats, height, box);
            strip.swap(other);
        }
        for (uint32_t y = 0; y < height; ++y)
            for (size_t x = 0; x < floats; ++x)
                destination[y * destinationPitch + left + x] = ToByte(strip[y * floats + x]);
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
    if (deviation < kBoxFromDeviation)
        BlurWithKernel(source, sourcePitch, destination, destinationPitch, width, height, deviation);
    else
        BlurWithBoxes(source, sourcePitch, destination, destinationPitch, width, height, deviation);
}

}  // namespace substitute
