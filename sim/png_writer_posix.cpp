#include "png_writer.h"

#include <climits>

#include "pixbuf_ref.h"

namespace sim {

bool WritePngFromBgra(const std::string& path, uint32_t width, uint32_t height,
                      const std::vector<uint8_t>& bgra) {
    if (width == 0 || height == 0 || width > INT_MAX / 4 || height > INT_MAX ||
        bgra.size() / 4 / width < height)
        return false;
    // The saver stores the pixbuf's bytes as they are: straight RGBA, colour under alpha 0 kept.
    const PixbufRef image{gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, static_cast<int>(width),
                                         static_cast<int>(height))};
    if (!image.pixbuf) return false;
    const size_t stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(image.pixbuf));
    guchar* const rows = gdk_pixbuf_get_pixels(image.pixbuf);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* from = bgra.data() + y * width * 4;
        guchar* to = rows + y * stride;
        for (size_t x = 0; x < width; ++x, from += 4, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = from[3];
        }
    }
    GError* error = nullptr;
    const bool saved = gdk_pixbuf_save(image.pixbuf, path.c_str(), "png", &error, "compression",
                                       "9", nullptr);
    if (error) g_error_free(error);
    return saved;
}

}  // namespace sim
