#include "pixel_font.h"

#include <cstring>

namespace sim {

namespace {

struct Glyph {
    char c;
    uint16_t rows;  // five rows of three bits, top row in the high bits
};

constexpr uint16_t Rows(uint16_t a, uint16_t b, uint16_t c, uint16_t d, uint16_t e) {
    return static_cast<uint16_t>(a << 12 | b << 9 | c << 6 | d << 3 | e);
}

constexpr Glyph kGlyphs[] = {
    {'0', Rows(7, 5, 5, 5, 7)}, {'1', Rows(2, 6, 2, 2, 7)}, {'2', Rows(7, 1, 7, 4, 7)},
    {'3', Rows(7, 1, 7, 1, 7)}, {'4', Rows(5, 5, 7, 1, 1)}, {'5', Rows(7, 4, 7, 1, 7)},
    {'6', Rows(7, 4, 7, 5, 7)}, {'7', Rows(7, 1, 1, 1, 1)}, {'8', Rows(7, 5, 7, 5, 7)},
    {'9', Rows(7, 5, 7, 1, 7)}, {'A', Rows(2, 5, 7, 5, 5)}, {'E', Rows(7, 4, 6, 4, 7)},
    {'F', Rows(7, 4, 6, 4, 4)}, {'M', Rows(5, 7, 7, 5, 5)}, {'R', Rows(6, 5, 6, 5, 5)},
    {'S', Rows(3, 4, 2, 1, 6)}, {'T', Rows(7, 2, 2, 2, 2)}, {'.', Rows(0, 0, 0, 0, 2)},
    {':', Rows(0, 2, 0, 2, 0)}, {'-', Rows(0, 0, 7, 0, 0)},
};

uint16_t GlyphRows(char c) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.c == c) return glyph.rows;
    return 0;
}

}  // namespace

uint32_t TextWidth(const std::string& text, uint32_t scale) {
    return text.empty() ? 0 : static_cast<uint32_t>(text.size() * (kGlyphWidth + 1) - 1) * scale;
}

void DrawText(Canvas& canvas, uint32_t x, uint32_t y, const std::string& text, uint32_t scale,
              const uint8_t bgra[4]) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint16_t rows = GlyphRows(text[i]);
        const uint32_t left = x + static_cast<uint32_t>(i) * (kGlyphWidth + 1) * scale;
        for (uint32_t row = 0; row < kGlyphHeight; ++row)
            for (uint32_t column = 0; column < kGlyphWidth; ++column) {
                if (!(rows >> ((kGlyphHeight - 1 - row) * kGlyphWidth + (kGlyphWidth - 1 - column)) & 1)) continue;
                for (uint32_t dy = 0; dy < scale; ++dy)
                    for (uint32_t dx = 0; dx < scale; ++dx) {
                        const uint64_t px = left + column * scale + dx, py = y + row * scale + dy;
                        if (px >= canvas.width || py >= canvas.height) continue;
                        std::memcpy(&canvas.bgra[(py * canvas.width + px) * 4], bgra, 4);
                    }
            }
    }
}

}  // namespace sim
