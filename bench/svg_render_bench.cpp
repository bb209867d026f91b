// SVG chains through the library (pre-pass, document, one render per level, raster fill)
// against librsvg rendering the same document at the same level sizes directly.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "games/selected_game.h"
#include "image/exports.h"
#include "load/mip_chain.h"
#include "platform/posix/gaussian_blur.h"
#include "ratio_reporter.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"

namespace {

constexpr uint32_t kSide = 256;

const char kIcon[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 64 64\">"
    "<defs><filter id=\"soft\"><feGaussianBlur stdDeviation=\"2\"/></filter></defs>"
    "<rect x=\"4\" y=\"4\" width=\"56\" height=\"56\" rx=\"10\" fill=\"#203040\"/>"
    "<circle cx=\"32\" cy=\"30\" r=\"16\" fill=\"none\" stroke=\"#f0c020\" stroke-width=\"4\"/>"
    "<path d=\"M20 50 L32 38 L44 50 Z\" fill=\"#e04040\"%s/>"
    "</svg>";

std::string IconText(bool blurred) {
    char text[1024];
    std::snprintf(text, sizeof text, kIcon, blurred ? " filter=\"url(#soft)\"" : "");
    return text;
}

// A folder where no cache folder can be made, so every load renders.
std::string UncachedIcon(bool blurred) {
    static std::string root = [] {
        char pattern[] = "/tmp/ombrix-svg-bench-XXXXXX";
        std::string dir = mkdtemp(pattern);
        std::ofstream(dir + "/.mipcache") << "not a folder";
        sim::MapGameImage();
        sim::InstallRwEngine(selected_game::kRwFunctions);
        return dir;
    }();
    std::string path = root + (blurred ? "/blurred.svg" : "/plain.svg");
    if (!std::filesystem::exists(path)) std::ofstream(path) << IconText(blurred);
    return path;
}

void LibraryChain(benchmark::State& state, bool blurred) {
    std::string path = UncachedIcon(blurred);
    for (auto _ : state) {
        RwTexture* texture = LoadSVGToRwTexture(path.c_str(), kSide, kSide, 1, 0);
        if (!texture) state.SkipWithError("SVG load failed");
        sim::DestroyTexture(texture);
        sim::ClearRwCallLog();
    }
}

void LibrsvgChain(benchmark::State& state, bool blurred) {
    std::string text = IconText(blurred);
    uint32_t levels = FullMipLevelCount(kSide, kSide);
    for (auto _ : state) {
        RsvgHandle* handle = rsvg_handle_new_from_data(
            reinterpret_cast<const guint8*>(text.data()), text.size(), nullptr);
        for (uint32_t i = 0; i < levels; ++i) {
            int side = int(MipLevelSize(kSide, i));
            cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
            cairo_t* cr = cairo_create(surface);
            RsvgRectangle viewport{0, 0, double(side), double(side)};
            rsvg_handle_render_document(handle, cr, &viewport, nullptr);
            cairo_destroy(cr);
            cairo_surface_flush(surface);
            benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
            cairo_surface_destroy(surface);
        }
        g_object_unref(handle);
    }
}

void SvgLibraryChain(benchmark::State& state) { LibraryChain(state, false); }
void SvgLibrsvgChain(benchmark::State& state) { LibrsvgChain(state, false); }
void SvgBlurLibraryChain(benchmark::State& state) { LibraryChain(state, true); }
void SvgBlurLibrsvgChain(benchmark::State& state) { LibrsvgChain(state, true); }
BENCHMARK(SvgLibraryChain)->Unit(benchmark::kMillisecond);
BENCHMARK(SvgLibrsvgChain)->Unit(benchmark::kMillisecond);
BENCHMARK(SvgBlurLibraryChain)->Unit(benchmark::kMillisecond);
BENCHMARK(SvgBlurLibrsvgChain)->Unit(benchmark::kMillisecond);

// The blur alone on a level of 256 x 256 at two deviations eight times apart: its cost must
// not grow with the deviation.
void BlurAtDeviation(benchmark::State& state, float deviation) {
    std::vector<uint8_t> in(size_t(kSide) * kSide * 4), out(in.size());
    for (size_t i = 0; i < in.size(); ++i) in[i] = uint8_t(i * 7);
    for (auto _ : state) {
        substitute::GaussianBlurPremultiplied(in.data(), kSide * 4, out.data(), kSide * 4, kSide,
                                              kSide, deviation);
        benchmark::DoNotOptimize(out.data());
    }
}
void BlurDeviation4(benchmark::State& state) { BlurAtDeviation(state, 4.0f); }
void BlurDeviation32(benchmark::State& state) { BlurAtDeviation(state, 32.0f); }
BENCHMARK(BlurDeviation4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BlurDeviation32)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithRatios(
        argc, argv,
        {{"svg_chain_vs_librsvg", {"SvgLibraryChain", "SvgLibrsvgChain"}},
         {"svg_blur_chain_vs_librsvg", {"SvgBlurLibraryChain", "SvgBlurLibrsvgChain"}},
         {"blur_deviation_32_vs_4", {"BlurDeviation32", "BlurDeviation4"}}});
}
