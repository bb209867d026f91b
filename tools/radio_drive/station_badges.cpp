#include "station_badges.h"

#include <algorithm>
#include <cmath>

#include "sim/png_writer.h"

namespace {

struct Rgb {
    float r, g, b;
};

Rgb FromHue(float hue) {
    const float h = std::fmod(hue, 360.0f) / 60.0f;
    const float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
    const Rgb sectors[6] = {{1, x, 0}, {x, 1, 0}, {0, 1, x}, {0, x, 1}, {x, 0, 1}, {1, 0, x}};
    const Rgb s = sectors[std::min(5, static_cast<int>(h))];
    // Vivid but not glaring: 85 % value, 80 % saturation.
    auto mix = [](float c) { return 0.85f * (0.2f + 0.8f * c); };
    return {mix(s.r), mix(s.g), mix(s.b)};
}

// Signed distance from the point to a rounded square of half-side `half` and corner `radius`.
float RoundedSquareDistance(float x, float y, float half, float radius) {
    const float qx = std::fabs(x) - (half - radius), qy = std::fabs(y) - (half - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

std::vector<uint8_t> Badge(uint32_t size, Rgb colour, bool grey) {
    if (grey) {
        const float y = 0.299f * colour.r + 0.587f * colour.g + 0.114f * colour.b;
        colour = {y, y, y};
    }
    std::vector<uint8_t> bgra(static_cast<size_t>(size) * size * 4);
    const float half = size * 0.5f;
    for (uint32_t py = 0; py < size; ++py)
        for (uint32_t px = 0; px < size; ++px) {
            const float x = px + 0.5f - half, y = py + 0.5f - half;
            const float badge = Coverage(RoundedSquareDistance(x, y, half - 1.0f, size * 0.2f));
            // A white ring in the middle, so the badge reads as an icon at any size.
            const float ring = Coverage(std::fabs(std::hypot(x, y) - size * 0.22f) - size * 0.06f);
            uint8_t* out = &bgra[(static_cast<size_t>(py) * size + px) * 4];
            const float rgb[3] = {colour.b, colour.g, colour.r};
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(std::lround(255.0f * (rgb[c] * (1 - ring) + ring)));
            out[3] = static_cast<uint8_t>(std::lround(255.0f * badge));
        }
    return bgra;
}

}  // namespace

bool WriteStationBadges(const std::string& folder, const std::vector<std::string>& names,
                        uint32_t size) {
    const size_t stations = std::max<size_t>(1, (names.size() + 1) / 2);
    for (size_t slot = 0; slot < names.size(); ++slot) {
        const float hue = 360.0f * static_cast<float>(slot / 2) / static_cast<float>(stations);
        const std::string& name = names[slot];
        const bool grey = name.size() > 5 && name.compare(name.size() - 5, 5, "_gray") == 0;
        if (!sim::WritePngFromBgra(folder + "/" + name + ".png", size, size,
                                   Badge(size, FromHue(hue), grey)))
            return false;
    }
    return true;
}
