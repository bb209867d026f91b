// What the Direct2D substitute drew, for tests that count passes and check blur settings.
#pragma once

#include <cstdint>
#include <vector>

namespace substitute {

enum class DrawKind { SvgDocument, BlurredImage };

struct DrawRecord {
    DrawKind kind;
    uint32_t targetWidth;   // size of the bitmap drawn into
    uint32_t targetHeight;
    bool targetIsLevel;     // the target cannot be drawn from: a level, not a blur's scratch
    float blurDeviation;    // BlurredImage: standard deviation in pixels
    uint32_t blurBorderMode;
};

const std::vector<DrawRecord>& DrawLog();
void ClearDrawLog();

}  // namespace substitute
