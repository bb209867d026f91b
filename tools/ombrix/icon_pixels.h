// Turning a texture level read back from the engine into the pixels an icon file holds.
#pragma once

#include <cstdint>
#include <vector>

// The SVG renderer leaves colour multiplied by alpha, while PNG files carry it unmultiplied;
// an icon written from an SVG load without this would darken every soft edge twice when drawn.
void UnpremultiplyBgra(std::vector<uint8_t>& bgra);

// The disabled look of a station: Rec. 601 luma in blue, green and red, alpha unchanged so
// the grey twin covers exactly what its colour icon covers.
void GreyBgra(std::vector<uint8_t>& bgra);
