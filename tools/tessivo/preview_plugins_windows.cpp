#include "preview_plugins.h"

#include "games/selected_game.h"
#include "platform/platform.h"
#include "radio/radio_strip_settings.h"
#include "radio/settings_file.h"
#include "sim/code_signatures.h"
#include "sim/event_call_sites.h"
#include "sim/game_code.h"
#include "sim/game_image.h"
#include "sim/host_routines.h"
#include "sim/rw_engine.h"
#include "sim/standin_game/plugin_loader.h"

namespace {

void RunSites(sim::Game game, sim::GameEvent event) {
    for (uint32_t site : sim::EventCallSitesOf(game, event))
        if (sim::EventCallee(site)) sim::RunGameCode(site);
}

std::string WithSeparator(const std::string& folder) {
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder : folder + "\\";
}

}  // namespace

bool StartPreviewPlugins(sim::Game game, int32_t release, const std::string& folder, std::string& error) {
    if (!sim::MapGameImage()) {
        error = "the stand-in game's image at 0x400000 cannot be had";
        return false;
    }
    sim::InstallRwEngine(selected_game::kRwFunctions);
    sim::WriteLauncher();
    sim::WriteCodeSignatures(game, &release, 1);
    sim::WriteEventCallSites(game, release);
    sim::InstallHostRoutines(game, release);
    // Both plug-ins wait in scripts\, where the front end put them: the image library is bound
    // by the radio plug-in at RenderWare start-up, from among the loaded modules.
    bool radio = false;
    for (const standin::LoadedPlugin& plugin : standin::LoadPluginFolder(WithSeparator(folder) + "scripts\\")) {
        if (!plugin.module) {
            error = "Windows refused to load " + plugin.name + " (error " + std::to_string(plugin.error) + ")";
            return false;
        }
        radio = radio || _strnicmp(plugin.name.c_str(), "Tessivo", 7) == 0;
    }
    if (!radio) {
        error = "no Tessivo plug-in in " + WithSeparator(folder) + "scripts";
        return false;
    }
    RunSites(game, sim::GameEvent::RwStartup);
    return true;
}

int32_t PreviewSliderTimeout(const std::string& folder) {
    // The file the plug-in read (or wrote with every default) at start-up, read the same way.
    const std::string file = WithSeparator(folder) + kSettingsRelativePath;
    return static_cast<int32_t>(GetPrivateProfileIntA(kSettingsSection, "RadioSliderTimeout",
                                                      RadioStripSettings{}.RadioSliderTimeout, file.c_str()));
}

void StopPreviewPlugins(sim::Game game) { RunSites(game, sim::GameEvent::RwShutdown); }
