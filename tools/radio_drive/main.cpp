// radio_drive_<game>: the radio plug-in's host build in a game folder, the scripted drive
// played through the game's calls, and what it drew written out: the frames as text (the
// Wine tier compares them with the real DLL's), key frames, a contact sheet, an animation.
// With --render it draws a frames file recorded elsewhere (the real DLLs under Wine) instead,
// with the icons of ICON_FOLDER, and checks the pictures.
//
//   radio_drive_vc GAME_FOLDER OUT_FOLDER [--release CODE]
//   radio_drive_vc --render FRAMES_FILE ICON_FOLDER OUT_FOLDER [--release CODE]
//
// The stand-in lays the game out before main from SIM_GAME, SIM_RELEASE and SIM_MODULE_FILE;
// the program sets them from its arguments and starts itself again when they differ.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "drive_pictures.h"
#include "games/selected_game.h"
#include "render_recorded.h"
#include "sim/drive_frames_file.h"
#include "sim/option_numbers.h"
#include "sim/release_scenario.h"
#include "sim/rw_engine.h"
#include "sim/scripted_drive.h"
#include "station_badges.h"
#include "tools/radio_host/standin_process.h"

namespace {

namespace fs = std::filesystem;

const char kUsage[] = "usage: radio_drive_" DRIVE_GAME_NAME " GAME_FOLDER OUT_FOLDER [--release CODE]\n"
                      "       radio_drive_" DRIVE_GAME_NAME " --render FRAMES_FILE ICON_FOLDER OUT_FOLDER [--release CODE]\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "radio_drive: %s\n%s", message.c_str(), kUsage);
    return 1;
}

struct Arguments {
    fs::path folder;  // with --render the output folder: no plug-in start-up writes into it
    fs::path out;
    fs::path frames;  // --render only
    fs::path icons;
    uint32_t release = DRIVE_DEFAULT_RELEASE;
    bool valid = false;
};

Arguments Parse(int argc, char** argv) {
    Arguments a;
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool render = !args.empty() && args[0] == "--render";
    if (render) args.erase(args.begin());
    const size_t operands = render ? 3 : 2;
    if (args.size() == operands + 2 && args[operands] == "--release" &&
        sim::ParseOptionNumber(args[operands + 1], a.release))
        args.resize(operands);
    if (args.size() != operands) return a;
    std::error_code error;
    if (render) {
        a.frames = fs::absolute(args[0], error);
        a.icons = fs::absolute(args[1], error);
        const std::string out = args[2];
        args = {out, out};
    }
    a.folder = fs::absolute(args[0], error);
    a.out = fs::absolute(args[1], error);
    a.valid = !error;
    return a;
}

// Runs after the stand-in laid the image out and before the plug-in's static objects.
__attribute__((constructor(102))) void Relaunch(int argc, char** argv, char**) {
    const Arguments a = Parse(argc, argv);
    // Without a game named, the plug-in's static objects would call into an empty image.
    if (!a.valid) std::_Exit(Fail("expected a game folder and an output folder, or --render and three operands"));
    RunInStandinGame(DRIVE_GAME_NAME, a.release, (a.folder / "game.exe").string(), argv, "radio_drive");
}

bool HasPng(const fs::path& folder) {
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored))
        if (entry.path().extension() == ".png") return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments a = Parse(argc, argv);
    const fs::path &folder = a.folder, &out = a.out;
    std::error_code error;
    fs::create_directories(out, error);
    if (!fs::is_directory(out)) return Fail("cannot make " + out.string());
    if (!a.frames.empty()) return RenderRecordedDrive(a.frames.string(), a.icons.string(), out.string());

    const fs::path icons = folder / "halvenmoor_mods" / "Tessivo" / "icons";
    fs::create_directories(icons, error);
    if (!HasPng(icons)) {
        const std::vector<std::string> names(selected_game::kStationIconTable.begin(),
                                             selected_game::kStationIconTable.end());
        if (!WriteStationBadges(icons.string(), names)) return Fail("cannot write icons into " + icons.string());
        std::printf("icons %zu written to %s\n", names.size(), icons.c_str());
    }
    StartRadioPlugin((folder / ("Ombrix." DRIVE_GAME_NAME ".asi")).string());
    std::printf("release %d: textures after start-up %d\n", static_cast<int>(a.release), sim::LiveTextures());
    const std::vector<sim::DriveFrame> frames = sim::PlayDrive(sim::RadioDriveScript());
    const std::vector<std::string> pictures = WriteDrivePictures(out.string(), frames);
    RunEventSites(sim::GameEvent::RwShutdown);

    const std::string framesFile = (out / "frames.txt").string();
    if (!sim::WriteDriveFrames(framesFile, sim::LoadedRelease().game, static_cast<int32_t>(a.release), frames))
        return Fail("cannot write " + framesFile);
    size_t draws = 0;
    for (const sim::DriveFrame& frame : frames)
        for (const sim::DrawnCall& call : frame.drawn) draws += call.routine == sim::HostRoutine::SpriteDraw;
    std::printf("frames %zu with %zu sprite draws: %s\n", frames.size(), draws, framesFile.c_str());
    for (const std::string& picture : pictures) std::printf("picture %s\n", picture.c_str());
    return 0;
}
