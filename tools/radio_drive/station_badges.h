// Stand-in station icons for looking at the strip: a rounded badge per station, each station
// its own hue, the "_gray" twin the same badge without colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `names` in icon-slot order (colour, grey, colour, grey...); every one written as NAME.png,
// `size` pixels square, into `folder`. False when a file cannot be written.
bool WriteStationBadges(const std::string& folder, const std::vector<std::string>& names,
                        uint32_t size = 64);
