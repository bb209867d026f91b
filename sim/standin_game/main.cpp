// standin_game.exe: the game as far as the image library needs it, for running the real
// Ombrix DLLs under Wine (or Windows).
//
//   standin_game.exe <iii|vc|sa> load     <dll> <image> [options]     LoadPNGToRwTexture
//   standin_game.exe <iii|vc|sa> svg      <dll> <image> [options]     LoadSVGToRwTexture
//   standin_game.exe <iii|vc|sa> find     <dll> <folder> <name> [..]  FindPNGinFolderPath
//   standin_game.exe <iii|vc|sa> find-svg <dll> <folder> <name> [..]  FindSVGinFolderPath
//   standin_game.exe <iii|vc|sa> radio    <release> [radio options]  the plug-ins of its folder
//   options: --size WxH  --mipmaps  --use-mipmaps N  --max-levels N  --row-padding N
//            --out DIR (levels written as DIR\levelN.png)
//            --export NAME (call the DLL's NAME, of the same form, instead)
//   radio options: --frames N  --reload-at F,F..  --edit KEY=VALUE@F  --unload  --drive FILE
//                  --required-calls (radio_run.h)
//
// The game image is this executable's `.game` section at 0x401000; the stand-in RenderWare
// engine (sim/rw_engine.cpp, shared with the Linux build) is reached through jumps written at
// that game's table addresses. Exit status: 0 texture, 1 null result, 2 setup or usage error.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../../games/iii/rw_functions.h"
#include "../../games/sa/rw_functions.h"
#include "../../games/vc/rw_functions.h"
#include "../game_image.h"
#include "../host_routines.h"
#include "../rw_engine.h"
#include "export_soak.h"
#include "ombrix_commands.h"
#include "radio_run.h"

namespace {

struct Command {
    const char* name;
    const char* exportName;
    bool folderForm;
};

constexpr Command kCommands[] = {
    {"load", "LoadPNGToRwTexture", false},
    {"svg", "LoadSVGToRwTexture", false},
    {"find", "FindPNGinFolderPath", true},
    {"find-svg", "FindSVGinFolderPath", true},
};

const games::HostRwFunctions* GameTable(const std::string& game) {
    if (game == "iii") return &games::iii::kRwFunctions;
    if (game == "vc") return &games::vc::kRwFunctions;
    if (game == "sa") return &games::sa::kRwFunctions;
    return nullptr;
}

sim::Game GameOf(const std::string& game) {
    if (game == "iii") return sim::Game::III;
    if (game == "vc") return sim::Game::VC;
    return game == "sa" ? sim::Game::SA : sim::Game::None;
}

int Usage(const char* problem) {
    std::printf("error: %s\n", problem);
    std::printf(
        "usage: standin_game.exe <iii|vc|sa> load|svg <dll> <image> [options]\n"
        "       standin_game.exe <iii|vc|sa> find|find-svg <dll> <folder> <name> [options]\n"
        "       standin_game.exe <iii|vc|sa> radio <release> [--frames N] [--reload-at F,F..] "
        "[--edit KEY=VALUE@F] [--unload] [--drive FILE]\n"
        "options: --size WxH --mipmaps --use-mipmaps N --max-levels N --row-padding N "
        "--out DIR --repeat N --hold-every K --miss-every K --export NAME\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Output goes to a pipe in tests: unbuffered, so a crash still shows what came before.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // No error boxes: a failure is reported by exit status, never by a window.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    if (argc < 3) return Usage("expected a game and a command");
    std::string game = argv[1];
    const games::HostRwFunctions* table = GameTable(game);
    if (!table) return Usage("game must be iii, vc or sa");
    const bool radio = std::string(argv[2]) == "radio";
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (c.name == std::string(argv[2])) command = &c;
    if (!command && !radio) return Usage("command must be load, svg, find, find-svg or radio");

    const std::vector<std::string> operands(argv + 3, argv + argc);
    standin::ExportRequest request;
    standin::RadioRequest radioRequest;
    std::string error;
    if (radio ? !standin::ParseRadioRequest(operands, radioRequest, error)
              : !standin::ParseExportRequest(operands, command->folderForm, request, error))
        return Usage(error.c_str());
    if (command && request.exportName.empty()) request.exportName = command->exportName;

    if (!sim::MapGameImage()) {
        std::printf("error: the game image at 0x%x could not be had (module at %p)\n",
                    sim::kPreferredImageBase, static_cast<void*>(GetModuleHandleA(nullptr)));
        return 2;
    }
    std::printf("game %s image 0x%08x-0x%08x\n", game.c_str(), sim::GameImageBase(),
                static_cast<unsigned>(sim::GameImageBase() + sim::kGameImageSize));
    sim::InstallRwEngine(*table);
    std::printf("engine RwRasterCreate 0x%x RwRasterDestroy 0x%x RwRasterLock 0x%x "
                "RwRasterUnlock 0x%x RwTextureCreate 0x%x\n",
                table->rasterCreate, table->rasterDestroy, table->rasterLock,
                table->rasterUnlock, table->textureCreate);
    if (radio) return standin::RunRadio(GameOf(game), radioRequest);
    // No release signature is written, so only the fixed host routines and variables exist.
    sim::InstallHostRoutines(GameOf(game), 0);
    return request.repeat ? standin::RunExportSoak(request) : standin::RunExportRequest(request);
}
