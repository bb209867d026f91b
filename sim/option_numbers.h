// Numbers on the command lines of the stand-in's front ends (the ombrix tool, the Wine game).
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// Decimal, or hexadecimal after "0x"; no sign, nothing after the digits, at most 32 bits.
bool ParseOptionNumber(const std::string& text, uint32_t& value);

// "WxH" with decimal sides.
bool ParseOptionSize(const std::string& text, uint32_t& width, uint32_t& height);

}  // namespace sim
