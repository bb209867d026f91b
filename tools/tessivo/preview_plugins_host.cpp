#include "preview_plugins.h"

#include <cstdlib>
#include <filesystem>

#include "preview_request.h"
#include "radio/radio_strip_settings.h"
#include "tools/radio_host/standin_process.h"

namespace {

__attribute__((constructor(102))) void Relaunch(int argc, char** argv, char**) {
    const PreviewRequest r = ParsePreviewRequest(argc, argv);
    if (!r.valid) std::_Exit(PreviewFail("arguments not as tessivo preview passes them; run tessivo preview"));
    RunInStandinGame(PREVIEW_GAME_NAME, PREVIEW_RELEASE, (std::filesystem::path(r.folder) / "game.exe").string(),
                     argv, "tessivo_preview_" PREVIEW_GAME_NAME);
}

}  // namespace

bool StartPreviewPlugins(sim::Game, int32_t, const std::string& folder, std::string&) {
    StartRadioPlugin((std::filesystem::path(folder) / ("Ombrix." PREVIEW_GAME_NAME ".asi")).string());
    return true;
}

int32_t PreviewSliderTimeout(const std::string&) { return radioStripSettings.RadioSliderTimeout; }

void StopPreviewPlugins(sim::Game) { RunEventSites(sim::GameEvent::RwShutdown); }
