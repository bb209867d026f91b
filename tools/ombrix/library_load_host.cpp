#include "library_load.h"

#include "commands.h"
#include "games/selected_game.h"
#include "load/load_request.h"
#include "raster/raster_decoder.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"
#include "svg/svg_texture.h"

bool OpenImageLibrary(const std::string& dll, std::string& error) {
    if (!dll.empty()) {
        error = "--dll names a Windows plug-in; this build loads with the library built into it";
        return false;
    }
    if (!sim::MapGameImage()) {
        error = "cannot map the stand-in game image at 0x400000";
        return false;
    }
    sim::InstallRwEngine(selected_game::kRwFunctions);
    return true;
}

std::string MissingRenderer(const std::string&) { return ""; }

LibraryLoad LoadThroughLibrary(const std::string& file, uint32_t width, uint32_t height, bool mipmaps,
                               uint32_t maxLevels) {
    // The exports' own loaders, so that a refusal can say why.
    const LoadRequest request = MakeLoadRequest(file.c_str(), width, height, mipmaps, maxLevels);
    LibraryLoad load;
    load.detailed = true;
    load.texture = IsSvgFile(file) ? LoadSvgTexture(request, load.outcome) : LoadPngTexture(request, load.outcome);
    load.status = DescribeLoadStatus(load.outcome);
    return load;
}
