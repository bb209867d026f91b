// Many loads in one process, as a long game session makes them: nothing may pile up.
#include <gtest/gtest.h>

#include <malloc.h>

#include <filesystem>
#include <string>

#include "image/exports.h"
#include "platform/posix/d2d1_draw_log.h"
#include "platform/posix/substitute.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

// The sanitizer's count of live heap bytes; the C library's where no sanitizer is linked.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace {

using substitute::Call;

size_t HeapInUse() {
    return __sanitizer_get_current_allocated_bytes ? __sanitizer_get_current_allocated_bytes()
                                                   : mallinfo2().uordblks;
}

constexpr int kLoads = 10000;
constexpr int kWarmUp = 1000;           // caches of the decoding libraries fill up meanwhile
constexpr size_t kAllowedGrowth = 128 << 10;  // far below one leaked byte per load

const char kBadge[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
    "<defs><filter id=\"f\"><feGaussianBlur stdDeviation=\"1\"/></filter></defs>"
    "<circle cx=\"8\" cy=\"8\" r=\"6\" fill=\"#c04\" stroke=\"#fff\" paint-order=\"stroke\"/>"
    "<rect x=\"4\" y=\"4\" width=\"8\" height=\"8\" fill=\"#08f\" filter=\"url(#f)\"/></svg>";

// One failure injected into a load at a time, in turn.
const Call kFaults[] = {Call::CreateDecoderFromFilename, Call::CopyPixels, Call::ScalerInitialize,
                        Call::CreateFileA, Call::WriteFile, Call::ReadFile, Call::D3D11CreateDevice,
                        Call::CreateSvgDocument, Call::CreateTexture2D, Call::EndDraw, Call::Map};

void Release(RwTexture* texture) {
    if (texture) sim::DestroyTexture(texture);
}

using LoadSoak = ImageFixture;

TEST_F(LoadSoak, MixedLoadsThroughTheFourExportsLeaveNoObjectAndNoGrowth) {
    const std::string png = Scratch("icon.png"), svg = Scratch("badge.svg");
    WritePng(png, 16, 16, [](uint32_t x, uint32_t y) { return Bgra{uint8_t(x * 16), uint8_t(y * 16), 9, 200}; });
    WriteBytes(svg, std::vector<uint8_t>(kBadge, kBadge + sizeof kBadge - 1));
    WriteBytes(Scratch("broken.png"), std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0, 1, 2});
    WriteBytes(Scratch("broken.svg"), std::vector<uint8_t>{'<', 's', 'v', 'g', ' ', '<'});
    Release(LoadPNGToRwTexture(png.c_str(), 0, 0, 0, 0));  // the process-wide factory
    const long comBaseline = substitute::LiveComObjects();
    const std::string cache = Scratch(".mipcache");
    const char* folder = dir_.c_str();

    size_t allocatedAfterWarmUp = 0;
    int loaded = 0;
    for (int i = 0; i < kLoads; ++i) {
        if (i == kWarmUp) allocatedAfterWarmUp = HeapInUse();
        const int kind = i % 10;
        if (kind == 0 || kind == 3 || kind >= 7) std::filesystem::remove_all(cache);  // a miss
        if (kind >= 7) substitute::FailCall(kFaults[(i / 10 * 3 + kind) % std::size(kFaults)]);
        RwTexture* texture = nullptr;
        switch (kind) {
            case 0: case 1: case 7: texture = LoadPNGToRwTexture(png.c_str(), 16, 16, 1, 0); break;
            case 2: texture = FindPNGinFolderPath(folder, "icon", 8, 4, 1, 0); break;
            case 3: case 4: case 8: texture = LoadSVGToRwTexture(svg.c_str(), 16, 16, 1, 0); break;
            case 5: texture = FindSVGinFolderPath(folder, "badge", 0, 0, 0, 0); break;
            case 6: texture = LoadPNGToRwTexture(Scratch(i % 20 ? "broken.png" : "broken.svg").c_str(), 0, 0, 1, 0); break;
            case 9: texture = LoadSVGToRwTexture(Scratch("broken.svg").c_str(), 16, 16, 1, 0); break;
        }
        loaded += texture != nullptr;
        Release(texture);
        // The stand-ins' own logs are test records, not the library's memory.
        substitute::ResetSubstitute();
        sim::ClearRwCallLog();
        substitute::ClearDrawLog();
    }
    EXPECT_GE(loaded, kLoads * 6 / 10);  // every load without a fault or a broken file
    EXPECT_EQ(substitute::LiveComObjects(), comBaseline);
    EXPECT_EQ(sim::LiveTextures(), 0);
    EXPECT_EQ(sim::LiveRasters(), 0);
    EXPECT_EQ(substitute::OpenFileHandles(), 0);
    EXPECT_LE(HeapInUse(), allocatedAfterWarmUp + kAllowedGrowth);
}

}  // namespace
