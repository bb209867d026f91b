#include "preview_setup.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The bundle's layout: the tools in halvenmoor_mods\Tessivo\tools, the icons beside that folder,
// the plug-ins in the game's scripts folder three levels up.
fs::path BundleFolder(const std::string& toolFolder, const char* relative) {
    return (fs::path(toolFolder) / relative).lexically_normal();
}

bool CopyInto(const fs::path& file, const fs::path& target, const std::string& what, std::string& error) {
    std::error_code failed;
    if (!fs::is_regular_file(file, failed)) {
        error = "no " + what + " " + file.string();
        return false;
    }
    if (!fs::copy_file(file, target, fs::copy_options::overwrite_existing, failed)) {
        error = "cannot copy " + file.string() + " to " + target.string() + ": " + failed.message();
        return false;
    }
    return true;
}

}  // namespace

// The player's icons once they made the folder, the bundle's own set before that.
std::string DefaultIconFolder(const std::string& toolFolder, const GameChoice&, std::string& hint) {
    hint = "the bundle's icon-set belongs beside it; or name a folder with --icons";
    const fs::path icons = BundleFolder(toolFolder, "..\\icons");
    std::error_code failed;
    return (fs::is_directory(icons, failed) ? icons : BundleFolder(toolFolder, "..\\icon-set")).string();
}

bool PreparePreviewProgram(const std::string& toolFolder, const GameChoice& game, const std::string& dllFolder,
                           const std::string& folder, std::string& program, std::string& error) {
    const fs::path dlls = dllFolder.empty() ? BundleFolder(toolFolder, "..\\..\\..\\scripts") : fs::path(dllFolder);
    const fs::path scripts = fs::path(folder) / "scripts";
    std::error_code failed;
    fs::create_directories(scripts, failed);
    if (failed) {
        error = "cannot make " + scripts.string() + ": " + failed.message();
        return false;
    }
    const std::string hint = dllFolder.empty() ? " (the game's scripts folder; name another with --dlls DIR)" : "";
    for (const char* product : {"Ombrix", "Tessivo"}) {
        const std::string name = std::string(product) + "." + game.build + ".asi";
        if (!CopyInto(dlls / name, scripts / name, "plug-in", error)) {
            error += hint;
            return false;
        }
    }
    // The plug-ins find the game folder through the program's own file name, so the stand-in
    // game runs from inside the folder.
    const fs::path standin = fs::path(toolFolder) / (std::string("tessivo_preview_") + game.name + ".exe");
    const fs::path copy = fs::path(folder) / "game.exe";
    if (!CopyInto(standin, copy, "preview program", error)) {
        error += " (it belongs beside tessivo.exe)";
        return false;
    }
    program = copy.string();
    return true;
}
