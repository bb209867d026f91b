#include "texture_sampler.h"

#include <algorithm>
#include <cmath>

#include "rw_engine.h"

namespace sim {

namespace {

bool ReadLevel(const RwRaster* raster, uint32_t index, uint32_t width, uint32_t height,
               std::vector<uint8_t>& bgra) {
    bgra = RasterLevelPixels(raster, index);
    return width > 0 && height > 0 && bgra.size() >= static_cast<size_t>(width) * height * 4;
}

}  // namespace

TrilinearSampler::TrilinearSampler(const RwTexture* texture, double screenWidth,
                                   double screenHeight) {
    const RwRaster* raster = texture ? texture->raster : nullptr;
    const uint32_t levelCount = raster ? RasterLevelCount(raster) : 0;
    if (levelCount == 0) return;

    // Level-0 texels one screen pixel spans, the larger of the two axes.
    const double texelsPerPixel = std::max(RasterLevelWidth(raster, 0) / screenWidth,
                                           RasterLevelHeight(raster, 0) / screenHeight);
    // Magnification (lod <= 0) reads level 0 alone, as the linear mag filter does.
    double lod = texelsPerPixel > 1 ? std::log2(texelsPerPixel) : 0;
    lod = std::min(lod, static_cast<double>(levelCount - 1));
    const uint32_t finer = static_cast<uint32_t>(lod);
    const uint32_t coarser = std::min(finer + 1, levelCount - 1);
    coarserWeight_ = static_cast<float>(lod - finer);

    finer_.width = RasterLevelWidth(raster, finer);
    finer_.height = RasterLevelHeight(raster, finer);
    if (!ReadLevel(raster, finer, finer_.width, finer_.height, finer_.bgra)) return;
    if (coarserWeight_ > 0) {
        coarser_.width = RasterLevelWidth(raster, coarser);
        coarser_.height = RasterLevelHeight(raster, coarser);
        if (!ReadLevel(raster, coarser, coarser_.width, coarser_.height, coarser_.bgra)) return;
    }
    textured_ = true;
}

Texel TrilinearSampler::SampleLevel(const Level& level, double u, double v) const {
    const double s = u * level.width - 0.5;
    const double t = v * level.height - 0.5;
    const double sFloor = std::floor(s);
    const double tFloor = std::floor(t);
    const float fx = static_cast<float>(s - sFloor);
    const float fy = static_cast<float>(t - tFloor);
    const auto clampIndex = [](double i, uint32_t size) {
        return static_cast<size_t>(std::clamp(i, 0.0, static_cast<double>(size - 1)));
    };
    const size_t x0 = clampIndex(sFloor, level.width), x1 = clampIndex(sFloor + 1, level.width);
    const size_t y0 = clampIndex(tFloor, level.height), y1 = clampIndex(tFloor + 1, level.height);
    const auto at = [&](size_t x, size_t y, int channel) -> float {
        return level.bgra[(y * level.width + x) * 4 + channel] / 255.0f;
    };
    float out[4];
    for (int c = 0; c < 4; ++c) {
        const float top = at(x0, y0, c) + (at(x1, y0, c) - at(x0, y0, c)) * fx;
        const float bottom = at(x0, y1, c) + (at(x1, y1, c) - at(x0, y1, c)) * fx;
        out[c] = top + (bottom - top) * fy;
    }
    return {out[0], out[1], out[2], out[3]};
}

Texel TrilinearSampler::Sample(double u, double v) const {
    if (!textured_) return {1, 1, 1, 1};
    const Texel a = SampleLevel(finer_, u, v);
    if (coarserWeight_ <= 0) return a;
    const Texel b = SampleLevel(coarser_, u, v);
    const float w = coarserWeight_;
    return {a.blue + (b.blue - a.blue) * w, a.green + (b.green - a.green) * w,
            a.red + (b.red - a.red) * w, a.alpha + (b.alpha - a.alpha) * w};
}

}  // namespace sim
