// Lays the game image out for the release named in the environment (release_scenario.h)
// while the process starts, ahead of every static initialiser of the plug-in code: the real
// plug-in detects its release while it is attached, when the game has long been loaded.
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../platform/platform.h"
#include "code_signatures.h"
#include "event_call_sites.h"
#include "game_code.h"
#include "game_image.h"
#include "host_routines.h"
#include "release_scenario.h"

namespace sim {
namespace {

ReleaseScenario scenario = {Game::None, 0, kPreferredImageBase};

[[noreturn]] void Refuse(const char* what, const char* value) {
    std::fprintf(stderr, "game stand-in: %s \"%s\"\n", what, value ? value : "");
    std::abort();
}

Game ParseGame(const char* name) {
    if (!name || !*name) return Game::None;
    if (strcasecmp(name, "iii") == 0) return Game::III;
    if (strcasecmp(name, "vc") == 0) return Game::VC;
    if (strcasecmp(name, "sa") == 0) return Game::SA;
    Refuse("unknown SIM_GAME", name);
}

long ParseNumber(const char* variable, const char* text, long fallback) {
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 0);
    if (*end != '\0') Refuse(variable, text);
    return value;
}

const char* DefaultModuleFile(Game game) {
    switch (game) {
        case Game::III: return "C:\\Games\\III\\game.exe";
        case Game::VC: return "C:\\Games\\VC\\game.exe";
        case Game::SA: return "C:\\Games\\SA\\game.exe";
        case Game::None: break;
    }
    return "C:\\Games\\game.exe";
}

// SIM_SIGNATURES as codes; at most eight, as many as any test names.
size_t ParseSignatures(int32_t* codes, size_t capacity) {
    const char* text = std::getenv("SIM_SIGNATURES");
    if (!text || !*text) {
        codes[0] = scenario.code;
        return scenario.code != 0 ? 1 : 0;
    }
    size_t count = 0;
    while (*text) {
        char* end = nullptr;
        const long code = std::strtol(text, &end, 10);
        if (end == text || count == capacity || (*end != ',' && *end != '\0'))
            Refuse("SIM_SIGNATURES", std::getenv("SIM_SIGNATURES"));
        codes[count++] = static_cast<int32_t>(code);
        text = *end == ',' ? end + 1 : end;
    }
    return count;
}

__attribute__((constructor(101))) void LayOutGameImage() {
    scenario.game = ParseGame(std::getenv("SIM_GAME"));
    scenario.code = static_cast<int32_t>(ParseNumber("SIM_RELEASE", std::getenv("SIM_RELEASE"), 0));
    scenario.imageBase = static_cast<uint32_t>(
        ParseNumber("SIM_IMAGE_BASE", std::getenv("SIM_IMAGE_BASE"), kPreferredImageBase));
    if (!MapGameImage(scenario.imageBase)) {
        char base[16];
        std::snprintf(base, sizeof base, "0x%X", static_cast<unsigned>(scenario.imageBase));
        Refuse("cannot map the game image at", base);
    }

    const char* moduleFile = std::getenv("SIM_MODULE_FILE");
    substitute::SetMainModule(
        reinterpret_cast<HMODULE>(static_cast<uintptr_t>(scenario.imageBase)),
        moduleFile ? moduleFile : DefaultModuleFile(scenario.game));

    WriteLauncher();
    int32_t codes[8];
    const size_t count = ParseSignatures(codes, 8);
    WriteCodeSignatures(scenario.game, codes, count);
    WriteEventCallSites(scenario.game, scenario.code);
    InstallHostRoutines(scenario.game, scenario.code);
}

}  // namespace

const ReleaseScenario& LoadedRelease() { return scenario; }

}  // namespace sim
