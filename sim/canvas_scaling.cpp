#include "canvas_scaling.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

struct Tap {
    size_t source;
    double weight;
};

// Per output cell, the source cells it overlaps and by how much, the weights summing to 1.
std::vector<std::vector<Tap>> BoxTaps(uint32_t from, uint32_t to) {
    std::vector<std::vector<Tap>> taps(to);
    const double scale = static_cast<double>(from) / to;
    for (uint32_t i = 0; i < to; ++i) {
        const double begin = i * scale, end = (i + 1) * scale;
        for (size_t s = static_cast<size_t>(begin); s < from && s < end; ++s) {
            const double overlap = std::min(end, s + 1.0) - std::max(begin, static_cast<double>(s));
            if (overlap > 0) taps[i].push_back({s, overlap / scale});
        }
    }
    return taps;
}

}  // namespace

Canvas ScaleCanvasToWidth(const Canvas& canvas, uint32_t width) {
    if (width == 0 || canvas.width == 0 || canvas.height == 0 ||
        canvas.bgra.size() != static_cast<size_t>(canvas.width) * canvas.height * 4)
        return {};
    const uint32_t height = static_cast<uint32_t>(std::max(
        1.0, std::round(static_cast<double>(canvas.height) * width / canvas.width)));
    const auto columns = BoxTaps(canvas.width, width);
    const auto rows = BoxTaps(canvas.height, height);

    Canvas out{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            // Averaged premultiplied, so transparent pixels lend no colour.
            double sum[4] = {};
            for (const Tap& row : rows[y])
                for (const Tap& column : columns[x]) {
                    const uint8_t* p =
                        &canvas.bgra[(row.source * canvas.width + column.source) * 4];
                    const double w = row.weight * column.weight, a = p[3] / 255.0;
                    for (int c = 0; c < 3; ++c) sum[c] += p[c] * a * w;
                    sum[3] += a * w;
                }
            uint8_t* q = &out.bgra[(static_cast<size_t>(y) * width + x) * 4];
            for (int c = 0; c < 3; ++c)
                q[c] = static_cast<uint8_t>(
                    sum[3] > 0 ? std::lround(std::min(255.0, sum[c] / sum[3])) : 0);
            q[3] = static_cast<uint8_t>(std::lround(std::min(1.0, sum[3]) * 255));
        }
    return out;
}

}  // namespace sim
