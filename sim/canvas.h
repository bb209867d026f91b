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

// Any picture gdk-pixbuf decodes, scaled to width x height and laid over the flat background
// so the result stays opaque. False (canvas untouched) when it does not decode.
bool LoadBackground(const std::string& path, uint32_t width, uint32_t height, Canvas& canvas);

}  // namespace sim
