// ombrix icon: one station icon file, loaded exactly as the radio plug-in loads its icons.
#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "icon_pixels.h"
#include "library_load.h"
#include "sim/option_numbers.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

struct IconOptions {
    std::string file;
    uint32_t width = 0;
    uint32_t height = 0;
    std::string out;
    bool grey = false;
    std::string dll;
};

bool ParseIconOptions(const std::vector<std::string>& args, IconOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--grey") {
            o.grey = true;
        } else if (a == "--size") {
            if (!hasValue || !sim::ParseOptionSize(args[++i], o.width, o.height))
                return error = "--size needs WxH, for example 64x64", false;
        } else if (a == "--out") {
            if (!hasValue) return error = "--out needs a PNG file name", false;
            o.out = args[++i];
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
    if (o.out.empty()) return error = "icon needs --out FILE.png", false;
    return true;
}

}  // namespace

int RunIconCommand(const std::vector<std::string>& args) {
    IconOptions options;
    std::string error;
    if (!ParseIconOptions(args, options, error)) return Fail(error);
    const bool svg = IsSvgFile(options.file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(options.file, ec))
        return Fail("cannot read '" + options.file + "'");
    // Never a blank icon: where the platform cannot draw the file, it says so and stops.
    if (const std::string missing = MissingRenderer(options.file); !missing.empty()) {
        std::fprintf(stderr, "ombrix: %s\n", missing.c_str());
        return 1;
    }
    if (!OpenImageLibrary(options.dll, error)) return Fail(error);

    // No mip chain: the strip draws its icons at one size, as the plug-in asks for them.
    const LibraryLoad load = LoadThroughLibrary(options.file, options.width, options.height, false, 0);
    RwTexture* texture = load.texture;
    if (!texture) {
        std::fprintf(stderr, "ombrix: no texture for '%s': %s\n", options.file.c_str(), load.status.c_str());
        return 1;
    }
    const RwRaster* raster = texture->raster;
    const uint32_t width = static_cast<uint32_t>(raster->width);
    const uint32_t height = static_cast<uint32_t>(raster->height);
    std::vector<uint8_t> pixels = sim::RasterLevelPixels(raster, 0);
    sim::DestroyTexture(texture);

    if (svg) UnpremultiplyBgra(pixels);
    if (options.grey) GreyBgra(pixels);
    if (!sim::WritePngFromBgra(options.out, width, height, pixels))
        return Fail("cannot write '" + options.out + "'");
    std::printf("icon %ux%u\n", width, height);
    std::printf("source %s\n", svg ? "svg, premultiplied alpha made straight"
                                   : "png, straight alpha kept");
    std::printf("colour %s\n", options.grey ? "grey" : "as drawn");
    std::printf("wrote %s\n", options.out.c_str());
    return 0;
}
