#include "preview_setup.h"

#include <filesystem>

std::string DefaultIconFolder(const std::string&, const GameChoice& game, std::string& hint) {
    hint = "build the station_icons target, or name a folder with --icons";
    return (std::filesystem::path(TESSIVO_ICON_SET) / game.name).string();
}

bool PreparePreviewProgram(const std::string& toolFolder, const GameChoice& game, const std::string& dllFolder,
                           const std::string&, std::string& program, std::string& error) {
    if (!dllFolder.empty()) {
        error = "--dlls names the Windows plug-ins; this build draws with the plug-ins built into "
                "tessivo_preview_" + std::string(game.name);
        return false;
    }
    program = (std::filesystem::path(toolFolder) / (std::string("tessivo_preview_") + game.name)).string();
    return true;
}
