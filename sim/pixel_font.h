// A 3x5 pixel font for labels on pictures the tools write (digits, capitals, a few signs), so
// a picture says what it shows without a font library.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"

namespace sim {

inline constexpr uint32_t kGlyphWidth = 3;
inline constexpr uint32_t kGlyphHeight = 5;

// Pixels a text takes at `scale`: one glyph and one blank column per character.
uint32_t TextWidth(const std::string& text, uint32_t scale);

// Draws `text` with its top left at (x, y), each font pixel a scale x scale square of `bgra`
// (opaque). Characters the font lacks are drawn blank; pixels outside the canvas are skipped.
void DrawText(Canvas& canvas, uint32_t x, uint32_t y, const std::string& text, uint32_t scale,
              const uint8_t bgra[4]);

}  // namespace sim
