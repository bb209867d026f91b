// ombrix load: one real load through the stand-in engine, every level reported and saved.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "icon_pixels.h"
#include "library_load.h"
#include "load/mip_chain.h"
#include "sim/option_numbers.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"
#include "svg/svg_file.h"
#include "svg/svg_source.h"

namespace {

struct LoadOptions {
    std::string file;
    uint32_t width = 0;
    uint32_t height = 0;
    bool mipmaps = false;
    uint32_t maxLevels = 0;
    std::string outDir;
    bool failLock = false;
    uint32_t failLockAt = 0;  // the engine's lock call that is refused, 0 = the first
    std::string dll;
};

bool ParseLoadOptions(const std::vector<std::string>& args, LoadOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--mipmaps") {
            o.mipmaps = true;
        } else if (a == "--size") {
            if (!hasValue || !sim::ParseOptionSize(args[++i], o.width, o.height))
                return error = "--size needs WxH, for example 64x64", false;
        } else if (a == "--max-levels") {
            if (!hasValue || !sim::ParseOptionNumber(args[++i], o.maxLevels))
                return error = "--max-levels needs a number", false;
        } else if (a == "--fail-lock") {
            if (!hasValue || !sim::ParseOptionNumber(args[++i], o.failLockAt))
                return error = "--fail-lock needs a number", false;
            o.failLock = true;
        } else if (a == "--out") {
            if (!hasValue) return error = "--out needs a folder", false;
            o.outDir = args[++i];
        } else if (a == "--dll") {
            if (!hasValue) return error = "--dll needs an Ombrix.<game>.asi file", false;
            o.dll = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return error = "unknown option '" + a + "'", false;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            return error = "more than one file given", false;
        }
    }
    if (o.file.empty()) return error = "no image file given", false;
    return true;
}

// Says so when a requested size will not scale the drawing: without a viewBox a document is drawn
// at its own size into the corner of a larger texture.
void NoteUnscaledSvg(const LoadOptions& options) {
    if (options.width == 0 && options.height == 0) return;
    if (!SvgRootHasViewBox(ReadSvgText(options.file.c_str())))
        std::printf("note the document has no viewBox: it is drawn at its own size, not scaled "
                    "to the size asked for\n");
}

}  // namespace

int RunLoadCommand(const std::vector<std::string>& args) {
    LoadOptions options;
    std::string error;
    if (!ParseLoadOptions(args, options, error)) return Fail(error);
    std::error_code ec;
    if (!options.outDir.empty()) {
        std::filesystem::create_directories(options.outDir, ec);
        if (!std::filesystem::is_directory(options.outDir))
            return Fail("cannot create output folder '" + options.outDir + "'");
    }
    const bool svg = IsSvgFile(options.file);
    if (const std::string missing = MissingRenderer(options.file); !missing.empty()) {
        std::printf("status no texture\n");
        std::fprintf(stderr, "ombrix: %s\n", missing.c_str());
        return 1;
    }
    if (!OpenImageLibrary(options.dll, error)) return Fail(error);
    if (options.failLock)
        sim::FailRwOp(sim::RwOp::RasterLock, static_cast<int>(options.failLockAt));

    const LibraryLoad load =
        LoadThroughLibrary(options.file, options.width, options.height, options.mipmaps, options.maxLevels);
    RwTexture* texture = load.texture;
    std::printf("status %s\n", load.status.c_str());
    if (!texture) {
        std::fprintf(stderr, "ombrix: no texture for '%s': %s\n", options.file.c_str(), load.status.c_str());
        return 1;
    }

    int createFlags = 0;
    uint32_t levels = 0;
    for (const sim::RwCall& call : sim::RwCallLog()) {
        if (call.raster != texture->raster || call.failed) continue;
        if (call.op == sim::RwOp::RasterCreate) createFlags = call.flags;
        if (call.op == sim::RwOp::RasterLock && call.lockMode == rwRASTERLOCKWRITE)
            levels = std::max(levels, call.level + 1);
    }
    const RwRaster* raster = texture->raster;
    std::printf("texture %dx%d\n", raster->width, raster->height);
    std::printf("flags 0x%X\n", createFlags);
    std::printf("filter %u\n", texture->filterAddressing & 0xFF);
    // Direct2D draws premultiplied; the files written are straight either way, as PNG wants.
    std::printf("alpha %s%s\n", svg ? "premultiplied" : "straight",
                options.outDir.empty() ? "" : ", files written with straight alpha");
    if (load.detailed) {
        std::printf("cache %s\n", load.outcome.status == LoadStatus::ServedFromCache ? "hit" : "miss");
        std::printf("cache lookup %s\n", MipCacheVerdictText(load.outcome.cache));
        if (load.outcome.cacheWritten) std::printf("cache written\n");
    } else {
        std::printf("cache not reported: the DLL answers a texture or null, nothing more\n");
    }
    if (svg) NoteUnscaledSvg(options);
    for (uint32_t i = 0; i < levels; ++i) {
        uint32_t w = MipLevelSize(raster->width, i), h = MipLevelSize(raster->height, i);
        std::printf("level %u %ux%u", i, w, h);
        if (!options.outDir.empty()) {
            std::string out = options.outDir + "/level" + std::to_string(i) + ".png";
            std::vector<uint8_t> pixels = sim::RasterLevelPixels(raster, i);
            if (svg) UnpremultiplyBgra(pixels);
            if (!sim::WritePngFromBgra(out, w, h, pixels)) {
                std::printf("\n");
                return Fail("cannot write '" + out + "'");
            }
            std::printf(" %s", out.c_str());
        }
        std::printf("\n");
    }
    sim::DestroyTexture(texture);
    return 0;
}

bool IsSvgFile(const std::string& file) {
    std::string ext = std::filesystem::path(file).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".svg";
}
