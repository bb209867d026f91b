// Writes pixels as a PNG file, so that levels and frames can be looked at.
// Stored (uncompressed) deflate blocks keep it dependency-free on both builds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// `bgra` holds width*height pixels as blue, green, red, alpha bytes, rows packed.
bool WritePngFromBgra(const std::string& path, uint32_t width, uint32_t height,
                      const std::vector<uint8_t>& bgra);

}  // namespace sim
