#include "canvas.h"

namespace sim {
namespace {

constexpr uint8_t kBackgroundBgra[4] = {0x30, 0x22, 0x1c, 0xff};

}  // namespace

Canvas MakeBackground(uint32_t width, uint32_t height) {
    Canvas canvas{width, height, {}};
    canvas.bgra.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < canvas.bgra.size(); i += 4)
        for (int c = 0; c < 4; ++c) canvas.bgra[i + c] = kBackgroundBgra[c];
    return canvas;
}

Canvas LaidOverBackground(uint32_t width, uint32_t height, const std::vector<uint8_t>& bgra) {
    Canvas result = MakeBackground(width, height);
    for (size_t i = 0; i + 3 < bgra.size() && i + 3 < result.bgra.size(); i += 4) {
        const unsigned a = bgra[i + 3];
        for (int c = 0; c < 3; ++c)
            result.bgra[i + c] = static_cast<uint8_t>((bgra[i + c] * a + result.bgra[i + c] * (255 - a) + 127) / 255);
    }
    return result;
}

}  // namespace sim
