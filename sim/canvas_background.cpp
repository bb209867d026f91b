#include "canvas.h"
#include "pixbuf_ref.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <utility>

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

bool LoadBackground(const std::string& path, uint32_t width, uint32_t height, Canvas& canvas) {
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return false;
    PixbufRef source{gdk_pixbuf_new_from_file(path.c_str(), nullptr)};
    if (!source.pixbuf) return false;
    PixbufRef scaled{gdk_pixbuf_scale_simple(source.pixbuf, static_cast<int>(width),
                                             static_cast<int>(height), GDK_INTERP_BILINEAR)};
    if (!scaled.pixbuf || gdk_pixbuf_get_bits_per_sample(scaled.pixbuf) != 8 ||
        gdk_pixbuf_get_colorspace(scaled.pixbuf) != GDK_COLORSPACE_RGB)
        return false;
    const int channels = gdk_pixbuf_get_n_channels(scaled.pixbuf);
    const bool hasAlpha = gdk_pixbuf_get_has_alpha(scaled.pixbuf);
    const int rowstride = gdk_pixbuf_get_rowstride(scaled.pixbuf);
    const guint8* pixels = gdk_pixbuf_read_pixels(scaled.pixbuf);

    Canvas result = MakeBackground(width, height);
    for (uint32_t y = 0; y < height; ++y) {
        const guint8* row = pixels + static_cast<size_t>(y) * rowstride;
        for (uint32_t x = 0; x < width; ++x) {
            const guint8* rgba = row + static_cast<size_t>(x) * channels;
            uint8_t* out = &result.bgra[(static_cast<size_t>(y) * width + x) * 4];
            const unsigned a = hasAlpha ? rgba[3] : 255;
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>((rgba[2 - c] * a + out[c] * (255 - a) + 127) / 255);
        }
    }
    canvas = std::move(result);
    return true;
}

}  // namespace sim
