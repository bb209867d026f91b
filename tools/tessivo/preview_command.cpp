// tessivo preview: lays out a throw-away game folder with the player's settings and icons,
// then has the game's preview program (tessivo_preview_<game>, preview_setup.h) run the radio
// plug-in in it. The player's own files are only read: the plug-in writes its cache files into
// the copy.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "change_animation.h"
#include "commands.h"
#include "game_choice.h"
#include "preview_setup.h"
#include "station_table.h"
#include "sim/animated_image.h"
#include "sim/option_numbers.h"
#include "tools/process/tool_process.h"

const char kPreviewUsage[] =
    "tessivo preview --game iii|vc|sa [--settings FILE] [--icons DIR] [--screen WxH]\n"
    "                [--station ID | --change ID:ID] [--background IMAGE] [--frames FILE]\n"
    "                [--dlls DIR] --out FILE\n"
    "tessivo preview --game iii|vc|sa --list-stations\n"
    "  Draws the strip as the game would with these settings and icons: one still frame of\n"
    "  the strip settled on station ID (default 2) as a PNG file, or with --change the slide\n"
    "  from one station to the other and the fade-out as an animation file (.webp on Linux,\n"
    "  .gif on Windows), or as numbered PNG pictures when the name holds %04d\n"
    "  (change-%04d.png). A station is the game's own number or its icon's name (flash);\n"
    "  --list-stations lists them with their icons. Without --settings the\n"
    "  plug-in's defaults, without --icons the project's icon set (on Windows the bundle's).\n"
    "  Missing icons show as the game shows them: flat squares. --screen defaults to\n"
    "  960x540; --frames also writes what the plug-in drew, as text. On Windows the game's\n"
    "  real plug-ins draw, taken from the game's scripts folder or from --dlls DIR.\n";

namespace {

namespace fs = std::filesystem;

constexpr int32_t kDefaultStation = 2;
constexpr uint32_t kLargestScreenSide = 8192;

struct PreviewOptions {
    const GameChoice* game = nullptr;
    std::optional<fs::path> settings;
    std::optional<fs::path> icons;
    uint32_t width = 960;
    uint32_t height = 540;
    int32_t from = kDefaultStation;
    int32_t to = kDefaultStation;
    std::string background;
    std::string frames;
    std::string dlls;
    std::string out;
};

bool ParseScreen(const std::string& text, uint32_t& width, uint32_t& height) {
    return sim::ParseOptionSize(text, width, height) && width > 0 && height > 0 && width <= kLargestScreenSide && height <= kLargestScreenSide;
}

bool ParseStation(const GameChoice& game, const std::string& text, int32_t& station) {
    const std::optional<int32_t> found = StationByNumberOrIcon(game, text);
    if (found) station = *found;
    return found.has_value();
}

std::string StationList(const GameChoice& game) {
    std::string list;
    for (const StationRow& row : StationRows(game))
        if (row.station) list += (list.empty() ? "" : ", ") + std::to_string(*row.station) + " " + row.icon;
    return list;
}

// Empty when the options hold together; else what is wrong.
std::string Parse(const std::vector<std::string>& args, PreviewOptions& o) {
    std::map<std::string, std::string> values;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        static const char* const kKnown[] = {"--game", "--settings", "--icons", "--screen", "--station",
                                             "--change", "--background", "--frames", "--dlls", "--out"};
        if (std::find(std::begin(kKnown), std::end(kKnown), option) == std::end(kKnown))
            return "unknown option '" + option + "'";
        if (i + 1 >= args.size()) return option + " needs a value";
        if (values.count(option)) return option + " given twice";
        values[option] = args[i + 1];
    }
    if (!values.count("--game")) return "--game is required: iii, vc or sa";
    o.game = FindGame(values["--game"]);
    if (!o.game) return "--game " + values["--game"] + ": expected iii, vc or sa";
    if (!values.count("--out")) return "--out is required";
    o.out = values["--out"];
    if (values.count("--screen") && !ParseScreen(values["--screen"], o.width, o.height))
        return "--screen " + values["--screen"] + ": expected WIDTHxHEIGHT, each 1 to " +
               std::to_string(kLargestScreenSide) + ", such as 1280x720";
    if (values.count("--station") && values.count("--change")) return "give --station or --change, not both";
    const std::string stations = std::string(o.game->title) + " has stations " + StationList(*o.game) +
                                 " (tessivo preview --game " + o.game->name + " --list-stations)";
    if (values.count("--station") && !ParseStation(*o.game, values["--station"], o.from))
        return "--station " + values["--station"] + ": " + stations;
    o.to = o.from;
    if (values.count("--change")) {
        const std::string& change = values["--change"];
        const size_t colon = change.find(':');
        if (colon == std::string::npos || !ParseStation(*o.game, change.substr(0, colon), o.from) ||
            !ParseStation(*o.game, change.substr(colon + 1), o.to) || o.from == o.to)
            return "--change " + change + ": expected FROM:TO, two different stations; " + stations;
    }
    const std::string extension = fs::path(o.out).extension().string();
    const bool still = o.from == o.to;
    if (still && extension != ".png") return "--out " + o.out + ": a still frame is written as a .png file";
    if (!still) {
        if (const std::string problem = ChangeAnimationNameProblem(o.out); !problem.empty()) return problem;
    }
    if (values.count("--settings")) o.settings = fs::path(values["--settings"]);
    if (values.count("--icons")) o.icons = fs::path(values["--icons"]);
    o.background = values.count("--background") ? values["--background"] : "";
    o.frames = values.count("--frames") ? values["--frames"] : "";
    o.dlls = values.count("--dlls") ? values["--dlls"] : "";
    return "";
}

// The game folder the plug-in starts in: its settings file and icons folder as copies.
std::string LayOutGameFolder(const PreviewOptions& o, const fs::path& icons, const fs::path& folder) {
    std::error_code error;
    const fs::path tessivo = folder / "halvenmoor_mods" / "Tessivo";
    fs::create_directories(tessivo / "icons", error);
    if (error) return "cannot make " + (tessivo / "icons").string() + ": " + error.message();
    if (o.settings && !fs::copy_file(*o.settings, tessivo / "tessivo.ini", error))
        return "cannot read the settings file " + o.settings->string() + ": " + error.message();
    fs::directory_iterator entries(icons, error);
    if (error) return "cannot read the icons folder " + icons.string() + ": " + error.message();
    for (const fs::directory_entry& entry : entries) {
        if (!entry.is_regular_file(error)) continue;
        if (!fs::copy_file(entry.path(), tessivo / "icons" / entry.path().filename(), error))
            return "cannot read the icon " + entry.path().string() + ": " + error.message();
    }
    return "";
}

fs::path Absolute(const std::string& path) {
    std::error_code ignored;
    return path.empty() ? fs::path() : fs::absolute(path, ignored);
}

}  // namespace

int PreviewCommand(const std::vector<std::string>& args, const std::string& toolFolder) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kPreviewUsage, stdout);
        return 0;
    }
    if (args.size() == 3 && args[0] == "--game" && args[2] == "--list-stations") {
        const GameChoice* game = FindGame(args[1]);
        if (!game) return ToolError("preview: --game " + args[1] + ": expected iii, vc or sa");
        std::printf("%s: the station numbers, the icon shown for each (its grey twin is NAME_gray.png)\n%s",
                    game->title, StationTableText(*game, "  ").c_str());
        return 0;
    }
    PreviewOptions o;
    if (const std::string problem = Parse(args, o); !problem.empty()) {
        return ToolError("preview: " + problem + " (tessivo preview --help tells more)");
    }
    std::error_code error;
    if (o.settings && !fs::is_regular_file(*o.settings, error))
        return ToolError("preview: no settings file " + o.settings->string());
    std::string hint;
    const fs::path icons = o.icons ? *o.icons : fs::path(DefaultIconFolder(toolFolder, *o.game, hint));
    if (!fs::is_directory(icons, error))
        return ToolError("preview: no icons folder " + icons.string() + (o.icons ? "" : " (" + hint + ")"));

    std::string problem;
    const std::string scratch = MakeScratchFolder("tessivo-preview-", problem);
    if (scratch.empty()) return ToolError("preview: " + problem);
    const fs::path folder = Absolute(scratch);
    std::string program;
    int status = 1;
    if (problem = LayOutGameFolder(o, icons, folder); !problem.empty()) {
        status = ToolError("preview: " + problem);
    } else if (!PreparePreviewProgram(toolFolder, *o.game, o.dlls, folder.string(), program, problem)) {
        status = ToolError("preview: " + problem);
    } else {
        std::vector<std::string> call = {program,                    folder.string(),
                                         Absolute(o.out).string(),   std::to_string(o.width),
                                         std::to_string(o.height),   std::to_string(o.from),
                                         std::to_string(o.to)};
        if (!o.background.empty()) call.insert(call.end(), {"--background", Absolute(o.background).string()});
        if (!o.frames.empty()) call.insert(call.end(), {"--frames", Absolute(o.frames).string()});
        status = RunProgram(program, call, problem);
        if (status < 0) status = ToolError("preview: " + problem);
    }
    fs::remove_all(folder, error);
    return status;
}
