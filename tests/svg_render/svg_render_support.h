// Loading SVG text through the library with the stand-in engine, and reading what it made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "load/load_status.h"
#include "platform/posix/d2d1_draw_log.h"
#include "tests/support/image_fixture.h"

class SvgRenderFixture : public ImageFixture {
protected:
    void SetUp() override;
    // Nothing the load created may outlive it.
    void TearDown() override;

    // Writes `text` to a scratch file and returns its path.
    std::string WriteSvg(const std::string& name, const std::string& text);
    // The SVG loader behind LoadSVGToRwTexture on `path`; `outcome_` says how it ended.
    RwTexture* Load(const std::string& path, uint32_t width, uint32_t height, uint32_t useMipmaps,
                    uint32_t maxMipLevels);

    LoadOutcome outcome_;
};

// Flags the raster was created with, from the engine's log; -1 when none was created.
int32_t CreatedRasterFlags();

// Drawing records of one kind on targets of the given width.
std::vector<substitute::DrawRecord> DrawsAt(uint32_t targetWidth, substitute::DrawKind kind);

// The BGRA bytes of pixel (x, y) in packed level pixels of `width`.
Bgra PixelAt(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t x, uint32_t y);
