// Writes pixels as a compressed PNG file, so that levels and frames can be looked at: through
// gdk-pixbuf on the host (png_writer_posix.cpp), through the imaging component's PNG encoder
// in the stand-in game (png_writer_windows.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// `bgra` holds width*height pixels as blue, green, red, alpha bytes, rows packed, alpha
// straight; the file holds them as 8-bit RGBA, transparent pixels' colour kept. False when
// the size is empty or the pixels are short, or the file cannot be written.
bool WritePngFromBgra(const std::string& path, uint32_t width, uint32_t height,
                      const std::vector<uint8_t>& bgra);

}  // namespace sim
