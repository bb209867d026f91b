#include "canvas.h"
#include "pixbuf_ref.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace sim {

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

    std::vector<uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        const guint8* row = pixels + static_cast<size_t>(y) * rowstride;
        for (uint32_t x = 0; x < width; ++x) {
            const guint8* rgba = row + static_cast<size_t>(x) * channels;
            uint8_t* out = &bgra[(static_cast<size_t>(y) * width + x) * 4];
            out[0] = rgba[2];
            out[1] = rgba[1];
            out[2] = rgba[0];
            out[3] = hasAlpha ? rgba[3] : 255;
        }
    }
    canvas = LaidOverBackground(width, height, bgra);
    return true;
}

}  // namespace sim
