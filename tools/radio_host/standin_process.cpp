#include "standin_process.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "games/selected_game.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "radio/image_library_binding.h"
#include "sim/game_code.h"
#include "sim/release_scenario.h"
#include "sim/rw_engine.h"

namespace {

const HMODULE kImageLibrary = reinterpret_cast<HMODULE>(uintptr_t{0x7A000000});

}  // namespace

void RunInStandinGame(const char* game, uint32_t release, const std::string& gameFile, char** argv,
                      const char* program) {
    const std::string code = std::to_string(release);
    const char* setGame = std::getenv("SIM_GAME");
    const char* setRelease = std::getenv("SIM_RELEASE");
    const char* setFile = std::getenv("SIM_MODULE_FILE");
    if (setGame && setRelease && setFile && game == std::string(setGame) && code == setRelease &&
        gameFile == setFile)
        return;
    setenv("SIM_GAME", game, 1);
    setenv("SIM_RELEASE", code.c_str(), 1);
    setenv("SIM_MODULE_FILE", gameFile.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "%s: cannot start again in the stand-in game\n", program);
    std::_Exit(1);
}

void StartRadioPlugin(const std::string& libraryFile) {
    substitute::RegisterModule(kImageLibrary, libraryFile.c_str(),
                               {substitute::Export(kFindPngExportName, &FindPNGinFolderPath)});
    sim::InstallRwEngine(selected_game::kRwFunctions);
    RunEventSites(sim::GameEvent::RwStartup);
}

void RunEventSites(sim::GameEvent event) {
    for (uint32_t site : sim::EventCallSitesOf(sim::LoadedRelease().game, event))
        if (sim::EventCallee(site)) sim::RunGameCode(site);
}
