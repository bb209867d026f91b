// ombrix load: one real load through the stand-in engine, every level reported and saved.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "games/selected_game.h"
#include "image/exports.h"
#include "image/mip_chain.h"
#include "sim/game_image.h"
#include "sim/option_numbers.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

struct LoadOptions {
    std::string file;
    uint32_t width = 0;
    uint32_t height = 0;
    bool mipmaps = false;
    uint32_t maxLevels = 0;
    std::string outDir;
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
        } else if (a == "--out") {
            if (!hasValue) return error = "--out needs a folder", false;
            o.outDir = args[++i];
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


}  // namespace

int RunLoadCommand(const std::vector<std::string>& args) {
    LoadOptions options;
    std::string error;
    if (!ParseLoadOptions(args, options, error)) return Fail(error);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(options.file, ec))
        return Fail("cannot read '" + options.file + "'");
    if (!options.outDir.empty()) {
        std::filesystem::create_directories(options.outDir, ec);
        if (!std::filesystem::is_directory(options.outDir))
            return Fail("cannot create output folder '" + options.outDir + "'");
    }
    if (!sim::MapGameImage()) return Fail("cannot map the stand-in game image at 0x400000");
    sim::InstallRwEngine(selected_game::kRwFunctions);

    const bool svg = IsSvgFile(options.file);
    const char* path = options.file.c_str();
    RwTexture* texture =
        svg ? LoadSVGToRwTexture(path, options.width, options.height, options.mipmaps,
                                 options.maxLevels)
            : LoadPNGToRwTexture(path, options.width, options.height, options.mipmaps,
                                 options.maxLevels);
    if (!texture) {
        std::fprintf(stderr, "ombrix: the library returned no texture for '%s'\n", path);
        return 1;
    }

    int createFlags = 0, readLocks = 0;
    uint32_t levels = 0;
    for (const sim::RwCall& call : sim::RwCallLog()) {
        if (call.op == sim::RwOp::RasterCreate && !call.failed) createFlags = call.flags;
        if (call.op == sim::RwOp::RasterLock && !call.failed && call.raster == texture->raster) {
            if (call.lockMode == rwRASTERLOCKWRITE) levels = std::max(levels, call.level + 1);
            if (call.lockMode == rwRASTERLOCKREAD) ++readLocks;
        }
    }
    const RwRaster* raster = texture->raster;
    // A complete load either wrote its chain to the cache (read locks) or came from it.
    uint32_t expected = ComputeMipChain(raster->width, raster->height, options.mipmaps,
                                        options.maxLevels).levelCount;
    bool fromCache = readLocks == 0 && levels == expected;
    std::printf("texture %dx%d\n", raster->width, raster->height);
    std::printf("flags 0x%X\n", createFlags);
    std::printf("filter %u\n", texture->filterAddressing & 0xFF);
    std::printf("cache %s\n", fromCache ? "hit" : "miss");
    for (uint32_t i = 0; i < levels; ++i) {
        uint32_t w = MipLevelSize(raster->width, i), h = MipLevelSize(raster->height, i);
        std::printf("level %u %ux%u", i, w, h);
        if (!options.outDir.empty()) {
            std::string out = options.outDir + "/level" + std::to_string(i) + ".png";
            if (!sim::WritePngFromBgra(out, w, h, sim::RasterLevelPixels(raster, i))) {
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
