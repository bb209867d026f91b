#include "icon_pixels.h"

#include <cstddef>

void UnpremultiplyBgra(std::vector<uint8_t>& bgra) {
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        const unsigned alpha = bgra[i + 3];
        for (size_t c = 0; c < 3; ++c) {
            // A fully transparent pixel has no colour to recover; rounding keeps the round
            // trip exact for the values a multiply could have produced.
            unsigned value = alpha ? (bgra[i + c] * 255u + alpha / 2) / alpha : 0;
            bgra[i + c] = static_cast<uint8_t>(value > 255 ? 255 : value);
        }
    }
}

void GreyBgra(std::vector<uint8_t>& bgra) {
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        // Integer weights of 0.114, 0.587, 0.299 over 1000, rounded to nearest.
        const unsigned luma =
            (bgra[i] * 114u + bgra[i + 1] * 587u + bgra[i + 2] * 299u + 500) / 1000;
        bgra[i] = bgra[i + 1] = bgra[i + 2] = static_cast<uint8_t>(luma);
    }
}
