// The Gaussian blur of the Direct2D effect substitute, on premultiplied BGRA pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace substitute {

// The largest standard deviation the effect accepts; larger values are clamped to it.
inline constexpr float kMaxBlurDeviation = 250.0f;

// Blurs `width` x `height` pixels from `source` into `destination` (same size, own pitches)
// with a separable Gaussian of `deviation` pixels: exact below 2, from 2 up three box blurs
// whose cost does not grow with the deviation. Outside the image counts as transparent black,
// so edges fade. A deviation of 0 or less copies the pixels unchanged.
void GaussianBlurPremultiplied(const uint8_t* source, size_t sourcePitch, uint8_t* destination,
                               size_t destinationPitch, uint32_t width, uint32_t height,
                               float deviation);

}  // namespace substitute
