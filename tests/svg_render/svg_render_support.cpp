#include "svg_render_support.h"

#include <fstream>

#include "platform/posix/substitute.h"
#include "sim/rw_engine.h"
#include "svg/svg_texture.h"

void SvgRenderFixture::SetUp() {
    ImageFixture::SetUp();
    substitute::ClearDrawLog();
}

void SvgRenderFixture::TearDown() {
    EXPECT_EQ(substitute::LiveComObjects(), liveComAtStart_) << "a COM object outlived the load";
    ImageFixture::TearDown();
}

std::string SvgRenderFixture::WriteSvg(const std::string& name, const std::string& text) {
    const std::string path = Scratch(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

RwTexture* SvgRenderFixture::Load(const std::string& path, uint32_t width, uint32_t height,
                                  uint32_t useMipmaps, uint32_t maxMipLevels) {
    return LoadSvgTexture(MakeLoadRequest(path.c_str(), width, height, useMipmaps, maxMipLevels),
                          outcome_);
}

int32_t CreatedRasterFlags() {
    for (const sim::RwCall& call : sim::RwCallLog())
        if (call.op == sim::RwOp::RasterCreate) return call.flags;
    return -1;
}

std::vector<substitute::DrawRecord> DrawsAt(uint32_t targetWidth, substitute::DrawKind kind) {
    std::vector<substitute::DrawRecord> found;
    for (const substitute::DrawRecord& record : substitute::DrawLog())
        if (record.kind == kind && record.targetWidth == targetWidth) found.push_back(record);
    return found;
}

Bgra PixelAt(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t x, uint32_t y) {
    const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}
