// A picture the compositor draws into: straight-alpha BGRA, kept opaque by its backgrounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Canvas {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bgra;  // width*height pixels, rows packed, straight alpha
};

// Flat #1c2230, opaque.
Canvas MakeBackground(uint32_t width, uint32_t height);

// `bgra` (width*height straight-alpha pixels) blended over the flat background: opaque.
Canvas LaidOverBackground(uint32_t width, uint32_t height, const std::vector<uint8_t>& bgra);

// Any picture the platform decodes (gdk-pixbuf on the host, the imaging component on
// Windows), scaled to width x height and laid over the flat background so the result stays
// opaque. False (canvas untouched) when it does not decode.
bool LoadBackground(const std::string& path, uint32_t width, uint32_t height, Canvas& canvas);

}  // namespace sim
