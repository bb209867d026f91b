// Reads a texture's level chain the way a GPU does under the linear-mip-linear filter with
// clamp addressing: bilinear within the two levels nearest the level of detail, blended.
#pragma once

#include <cstdint>
#include <vector>

#include "../load/rw_types.h"

namespace sim {

// Straight-alpha colour, each channel 0..1.
struct Texel {
    float blue;
    float green;
    float red;
    float alpha;
};

class TrilinearSampler {
public:
    // The texture drawn across `screenWidth` x `screenHeight` pixels. A null texture, or one
    // whose raster holds no levels, samples as solid white: the game draws such a sprite as a
    // flat quad in its vertex colour.
    TrilinearSampler(const RwTexture* texture, double screenWidth, double screenHeight);

    // u, v in 0..1 across the texture, v = 0 at its top row.
    Texel Sample(double u, double v) const;

private:
    struct Level {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> bgra;
    };
    Texel SampleLevel(const Level& level, double u, double v) const;

    Level finer_;    // level floor(lod)
    Level coarser_;  // the next one, when lod has a fraction
    float coarserWeight_ = 0;
    bool textured_ = false;
};

}  // namespace sim
