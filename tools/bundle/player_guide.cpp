// player_guide: writes a game's player guide from tools/bundle/README.txt.in, with the parts
// that the code's tables decide made from those tables: the settings and their defaults, the
// key codes, the stations and their icons, the releases, the loader names.
//
//   player_guide --game iii|vc|sa --template FILE --version X.Y.Z --out FILE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "guide_sections.h"
#include "tools/tessivo/game_choice.h"
#include "tools/tessivo/lower_case.h"
#include "tools/tessivo/plugin_loaders.h"
#include "tools/tessivo/release_table.h"
#include "tools/tessivo/station_table.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "player_guide: %s\n", message.c_str());
    return 1;
}

bool Replace(std::string& text, const std::string& name, const std::string& value) {
    const std::string mark = "@" + name + "@";
    bool found = false;
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size())) {
        text.replace(at, mark.size(), value);
        found = true;
    }
    return found;
}

std::string LoaderNames() {
    std::string names;
    for (const char* name : kPluginLoaderNames) names += (names.empty() ? "" : ", ") + std::string(name);
    return WrappedText(names, "  ", 92);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string game, source, version, out;
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--game") game = args[i + 1];
        else if (args[i] == "--template") source = args[i + 1];
        else if (args[i] == "--version") version = args[i + 1];
        else if (args[i] == "--out") out = args[i + 1];
        else return Fail("unknown option " + args[i]);
    }
    const GameChoice* choice = FindGame(game);
    if (!choice || source.empty() || version.empty() || out.empty() || args.size() != 8)
        return Fail("usage: player_guide --game iii|vc|sa --template FILE --version X.Y.Z --out FILE");
    std::ifstream in(source, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return Fail("cannot read " + source);

    const std::string settings = SettingsGuideText(RadioStripSettings{});
    if (settings.empty()) return Fail("the guide's words and the plug-in's settings table name different keys");
    const std::pair<const char*, std::string> parts[] = {
        {"VERSION", version},
        {"GAME_NAME", choice->title},
        {"GAME_CODE", choice->build},
        {"GAME_LOWER", Lower(choice->build)},
        {"GAME_EXE", choice->executable},
        {"SETTINGS", settings},
        {"KEY_CODES", KeyCodesGuideText()},
        {"STATIONS", StationTableText(*choice, "  ")},
        {"RELEASES", ReleaseTableText(*choice, "  ")},
        {"LOADER_NAMES", LoaderNames()},
    };
    for (const auto& [name, value] : parts)
        if (!Replace(text, name, value)) return Fail(source + " has no @" + std::string(name) + "@");
    if (text.find('@') != std::string::npos) return Fail(source + " holds a mark this program does not fill");
    text = FittedUnderlines(text);
    std::ofstream file(out, std::ios::binary);
    file << text;
    if (!file.flush()) return Fail("cannot write " + out);
    return 0;
}
