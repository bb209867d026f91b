// Raster loads against their baselines: a cache hit against the engine raster filled from
// the cache file, and a decoded load (every level resampled, raster filled) against the
// decoder alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "games/selected_game.h"
#include "image/exports.h"
#include "load/mip_cache.h"
#include "load/mip_chain.h"
#include "load/rw_bridge.h"
#include "platform/file_handle.h"
#include "raster/wic_guids.h"
#include "ratio_reporter.h"
#include "sim/game_image.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

constexpr uint32_t kSide = 256;

struct BenchFiles {
    std::string cachedDir;    // a folder whose loads are served from the cache
    std::string uncachedDir;  // a folder where no cache folder can be made: every load decodes
    std::string cachedImage;
    std::string uncachedImage;
    std::string cacheFile;
};

void WriteIcon(const std::string& path) {
    std::vector<uint8_t> bgra(size_t(kSide) * kSide * 4);
    for (uint32_t y = 0; y < kSide; ++y)
        for (uint32_t x = 0; x < kSide; ++x) {
            uint8_t* p = bgra.data() + (size_t(y) * kSide + x) * 4;
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(x ^ y);
            p[3] = uint8_t(255 - (x + y) / 2);
        }
    sim::WritePngFromBgra(path, kSide, kSide, bgra);
}

const BenchFiles& Files() {
    static BenchFiles files = [] {
        BenchFiles f;
        char pattern[] = "/tmp/ombrix-bench-XXXXXX";
        std::string root = mkdtemp(pattern);
        f.cachedDir = root + "/cached";
        f.uncachedDir = root + "/uncached";
        std::filesystem::create_directories(f.cachedDir);
        std::filesystem::create_directories(f.uncachedDir);
        std::ofstream(f.uncachedDir + "/.mipcache") << "not a folder";
        f.cachedImage = f.cachedDir + "/icon.png";
        f.uncachedImage = f.uncachedDir + "/icon.png";
        WriteIcon(f.cachedImage);
        WriteIcon(f.uncachedImage);
        f.cacheFile = f.cachedDir + "/.mipcache/icon.png_256x256.mipmap";
        sim::MapGameImage();
        sim::InstallRwEngine(selected_game::kRwFunctions);
        sim::DestroyTexture(LoadPNGToRwTexture(f.cachedImage.c_str(), kSide, kSide, 1, 0));
        return f;
    }();
    return files;
}

void CacheHitLoad(benchmark::State& state) {
    const BenchFiles& f = Files();
    for (auto _ : state) {
        RwTexture* texture = LoadPNGToRwTexture(f.cachedImage.c_str(), kSide, kSide, 1, 0);
        if (!texture) state.SkipWithError("cache load failed");
        sim::DestroyTexture(texture);
        sim::ClearRwCallLog();
    }
}
BENCHMARK(CacheHitLoad)->Unit(benchmark::kMicrosecond);

// What no cache-served load can avoid: the engine's raster created and the file's levels read
// straight into its locked levels, through the same file calls, header skipped unchecked.
void RasterFilledFromCacheFile(benchmark::State& state) {
    const BenchFiles& f = Files();
    const uint32_t levels = FullMipLevelCount(kSide, kSide);
    for (auto _ : state) {
        FileHandle file(CreateFileA(f.cacheFile.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        uint8_t header[kMipCacheHeaderSize];
        RwRaster* raster = RwRasterCreate(kSide, kSide, 32, kRasterFlagsMipChain);
        bool read = file.ReadExact(header, sizeof header);
        for (uint32_t i = 0; i < levels && read; ++i) {
            const uint32_t side = MipLevelSize(kSide, i);
            RwUInt8* pixels = RwRasterLock(raster, i, rwRASTERLOCKWRITE);
            read = pixels && file.ReadExact(pixels, side * side * 4);
            RwRasterUnlock(raster);
        }
        if (!read) state.SkipWithError("cache file read failed");
        sim::DestroyTexture(RwTextureCreate(raster));
        sim::ClearRwCallLog();
    }
}
BENCHMARK(RasterFilledFromCacheFile)->Unit(benchmark::kMicrosecond);

void DecodedLoad(benchmark::State& state) {
    const BenchFiles& f = Files();
    for (auto _ : state) {
        RwTexture* texture = LoadPNGToRwTexture(f.uncachedImage.c_str(), kSide, kSide, 1, 0);
        if (!texture) state.SkipWithError("decoded load failed");
        sim::DestroyTexture(texture);
        sim::ClearRwCallLog();
    }
}
BENCHMARK(DecodedLoad)->Unit(benchmark::kMicrosecond);

// The decoder by itself: open, convert to BGRA and copy level 0 out once.
void DecoderAlone(benchmark::State& state) {
    const BenchFiles& f = Files();
    std::u16string wide(f.uncachedImage.begin(), f.uncachedImage.end());
    std::vector<BYTE> pixels(size_t(kSide) * kSide * 4);
    CoInitialize(nullptr);
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(kClsidWicImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                     kIidWicImagingFactory, factory.PutVoid());
    for (auto _ : state) {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        bool ok = SUCCEEDED(factory->CreateDecoderFromFilename(
                      wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                      decoder.Put())) &&
                  SUCCEEDED(decoder->GetFrame(0, frame.Put())) &&
                  SUCCEEDED(factory->CreateFormatConverter(converter.Put())) &&
                  SUCCEEDED(converter->Initialize(frame.Get(), kWicPixelFormat32bppBGRA,
                                                  WICBitmapDitherTypeNone, nullptr, 0.0,
                                                  WICBitmapPaletteTypeCustom)) &&
                  SUCCEEDED(converter->CopyPixels(nullptr, kSide * 4, UINT(pixels.size()),
                                                  pixels.data()));
        if (!ok) state.SkipWithError("decoder failed");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DecoderAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithRatios(argc, argv,
                                   {{"cache_hit_vs_raster_fill", {"CacheHitLoad", "RasterFilledFromCacheFile"}},
                                    {"decoded_load_vs_decoder", {"DecodedLoad", "DecoderAlone"}}});
}
