// tessivo check: reads a player's game folder the way the game and the two plug-ins will, and
// says in plain words whether the strip can show there. Nothing in the folder is written.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "lower_case.h"
#include "game_choice.h"
#include "raster/imaging_factory.h"
#include "pe_image.h"
#include "platform/com_ptr.h"
#include "platform/platform.h"
#include "radio/image_library_binding.h"
#include "radio/radio_strip_settings.h"
#include "radio/settings_file.h"
#include "radio/station_icons.h"
#include "bundle_layout.h"
#include "plugin_loaders.h"
#include "release_table.h"
#include "station_table.h"

const char kCheckUsage[] =
    "tessivo check GAMEDIR [--exe NAME]\n"
    "  Says whether the strip can work in the game folder GAMEDIR: the game program and its\n"
    "  release, the Ombrix and Tessivo files and which game they were built for, where the\n"
    "  plug-in will find the image library, the settings file and the icons. The game\n"
    "  program is gta3.exe, gta-vc.exe or gta_sa.exe unless --exe names it.\n"
    "  Exit status 0 when everything is in place, 1 when something keeps the strip from showing.\n";

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kGameImageBase = 0x400000;  // where the games' tables place their addresses

// A path under `folder` as Windows finds it: any case, "\\" or "/" between the parts.
std::optional<fs::path> FindCaseless(const fs::path& folder, const std::string& relative) {
    fs::path at = folder;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = std::min(relative.find_first_of("\\/", start), relative.size());
        const std::string part = Lower(relative.substr(start, end - start));
        start = end + 1;
        if (part.empty()) continue;
        std::error_code error;
        std::optional<fs::path> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(at, error))
            if (Lower(entry.path().filename().string()) == part) {
                found = entry.path();
                break;
            }
        if (!found) return std::nullopt;
        at = *found;
    }
    return at;
}

// A path as the player's system writes it: "scripts\\Ombrix.VC.asi" on Windows.
std::string Shown(const fs::path& folder, const fs::path& file) {
    return fs::relative(file, folder).make_preferred().string();
}

struct Report {
    int problems = 0;
    void Ok(const std::string& text) { std::printf("ok       %s\n", text.c_str()); }
    void Note(const std::string& text) { std::printf("note     %s\n", text.c_str()); }
    void Problem(const std::string& text) {
        std::printf("PROBLEM  %s\n", text.c_str());
        ++problems;
    }
};

struct GameProgram {
    const GameChoice* game = nullptr;
    int32_t release = 0;
};

int32_t ReleaseBySignature(const PeImage& image, const GameChoice& game) {
    for (const games::VersionSignature& row : game.signatures) {
        const std::optional<uint32_t> bytes = ReadImageDword(image, row.probeAddress - kGameImageBase);
        if (bytes && *bytes == row.expected) return row.code;
    }
    return 0;
}

std::optional<GameProgram> CheckGameProgram(const fs::path& folder, const std::string& exe, Report& report) {
    std::vector<std::pair<const GameChoice*, fs::path>> candidates;
    for (const GameChoice& game : AllGames()) {
        const std::string name = exe.empty() ? game.executable : exe;
        if (const std::optional<fs::path> file = FindCaseless(folder, name)) candidates.push_back({&game, *file});
        if (!exe.empty() && !candidates.empty()) break;
    }
    if (candidates.empty()) {
        report.Problem(exe.empty() ? "no game program here: expected gta3.exe, gta-vc.exe or gta_sa.exe "
                                     "(name another with --exe)"
                                   : "no program " + exe + " here");
        return std::nullopt;
    }
    const fs::path file = candidates.front().second;
    PeImage image;
    std::string error;
    if (!ReadPeImage(file.string(), image, error)) {
        report.Problem(Shown(folder, file) + " " + error);
        return std::nullopt;
    }
    // A named program may be any of the games: the one whose signatures match tells.
    GameProgram found{exe.empty() ? candidates.front().first : nullptr, 0};
    for (const GameChoice& game : AllGames()) {
        if (found.game && found.game != &game) continue;
        if ((found.release = ReleaseBySignature(image, game)) != 0) {
            found.game = &game;
            break;
        }
    }
    if (!found.game) {
        report.Problem(Shown(folder, file) + ": its code matches no release of the three games");
        return std::nullopt;
    }
    if (found.release == 0) {
        report.Problem(Shown(folder, file) + ": " + found.game->title +
                       ", but its code matches no release the plug-in knows");
        return std::nullopt;
    }
    const std::string name = ReleaseName(*found.game, found.release);
    std::string what = Shown(folder, file) + ": " + found.game->title + " " + name;
    if (name.rfind("release code", 0) != 0) what += " (release code " + std::to_string(found.release) + ")";
    if (!ReleaseHooked(*found.game, found.release)) {
        report.Problem(what + ", which the plug-in does not hook: the strip stays off in this release and "
                       "the game runs as without it; " + UnhookedAdvice(*found.game));
        return std::nullopt;
    }
    report.Ok(what + ", which the plug-in hooks: the strip, its settings and keys all work");
    return found;
}

// A plug-in file of ours: where it is and the game its version resource names.
struct PluginFile {
    fs::path path;
    bool tessivo;
    std::string build;  // "III", "VC", "SA"; empty when it has no version resource of ours
};

std::vector<PluginFile> FindPluginFiles(const fs::path& folder) {
    std::vector<PluginFile> files;
    std::vector<fs::path> places = {folder};
    if (const std::optional<fs::path> scripts = FindCaseless(folder, "scripts")) places.push_back(*scripts);
    for (const fs::path& place : places) {
        std::error_code error;
        std::vector<fs::path> entries;
        for (const fs::directory_entry& entry : fs::directory_iterator(place, error))
            if (entry.is_regular_file(error)) entries.push_back(entry.path());
        std::sort(entries.begin(), entries.end());
        for (const fs::path& path : entries) {
            const std::string name = Lower(path.filename().string());
            const std::string extension = Lower(path.extension().string());
            const bool tessivo = name.rfind("tessivo", 0) == 0, ombrix = name.rfind("ombrix", 0) == 0;
            if ((!tessivo && !ombrix) || (extension != ".asi" && extension != ".dll")) continue;
            PeImage image;
            std::string ignored;
            std::string build;
            if (ReadPeImage(path.string(), image, ignored)) {
                const auto strings = VersionStrings(image);
                const auto game = strings.find("GameBuild");
                if (game != strings.end()) build = game->second;
            }
            files.push_back({path, tessivo, build});
        }
    }
    return files;
}

const char* TitleOfBuild(const std::string& build) {
    for (const GameChoice& game : AllGames())
        if (build == game.build) return game.title;
    return nullptr;
}

std::string Describe(const fs::path& folder, const PluginFile& file) {
    const char* title = TitleOfBuild(file.build);
    return Shown(folder, file.path) + (title ? std::string(" (built for ") + title + ")" : " (no version resource of ours)");
}

// The plug-in loader starts every .asi file of the game folder and of scripts\.
bool LoadedByTheLoader(const fs::path& folder, const fs::path& file) {
    if (Lower(file.extension().string()) != ".asi") return false;
    const std::string parent = Lower(fs::relative(file.parent_path(), folder).generic_string());
    return parent == "." || parent == "scripts";
}

// The image library the strip binds, searched the way its start-up does.
const PluginFile* BoundLibrary(const fs::path& folder, const std::vector<PluginFile>& files) {
    for (const char* name : kImageLibraryLoadedNames)
        for (const PluginFile& file : files)
            if (!file.tessivo && LoadedByTheLoader(folder, file.path) &&
                Lower(file.path.filename().string()) == Lower(name))
                return &file;
    for (const char* name : kImageLibraryLoadableNames) {
        const std::optional<fs::path> found = FindCaseless(folder, name);
        for (const PluginFile& file : files)
            if (found && file.path == *found) return &file;
    }
    return nullptr;
}

void CheckPluginFiles(const fs::path& folder, const GameChoice& game, Report& report) {
    const std::vector<PluginFile> files = FindPluginFiles(folder);
    bool strip = false;
    for (const PluginFile& file : files) {
        if (!file.tessivo) continue;
        if (file.build == game.build && LoadedByTheLoader(folder, file.path)) {
            report.Ok("strip: " + Describe(folder, file));
            strip = true;
        } else if (file.build == game.build) {
            report.Note(Describe(folder, file) + " is not where the plug-in loader starts it (scripts\\)");
        } else {
            report.Note(Describe(folder, file) + " does nothing in " + game.title + "; it can go");
        }
    }
    if (!strip)
        report.Problem(std::string("no Tessivo.") + game.build + ".asi in scripts\\: nothing draws the strip");

    const PluginFile* library = BoundLibrary(folder, files);
    if (!library) {
        report.Problem(std::string("no image library: the strip cannot load its icons, and the game shows "
                                   "\"") + kMissingLibraryText + "\" and ends. Put Ombrix." + game.build +
                       ".asi into scripts\\");
    } else if (library->build != game.build) {
        const char* title = TitleOfBuild(library->build);
        const bool rightOneThere = std::any_of(files.begin(), files.end(), [&](const PluginFile& file) {
            return !file.tessivo && file.build == game.build;
        });
        report.Problem("the strip will use " + Describe(folder, *library) + ", not the " + game.title +
                       " build: " + (title ? "it calls the engine at another game's addresses" : "it may not fit this game") +
                       (rightOneThere ? ". Remove it: the plug-in finds it before the right one"
                                      : std::string(". Replace it with Ombrix.") + game.build + ".asi"));
    } else {
        report.Ok("image library the strip will use: " + Describe(folder, *library));
    }
    for (const PluginFile& file : files)
        if (!file.tessivo && &file != library && file.build != game.build && LoadedByTheLoader(folder, file.path))
            report.Note(Describe(folder, file) + " is loaded too but not used by the strip");
}

// Whether a file holds ".asi" in its text, as 8-bit or UTF-16 characters: a loader names the
// files it starts, a game's own DLL of the same name does not.
bool MentionsAsiFiles(const fs::path& file) {
    std::FILE* in = std::fopen(file.string().c_str(), "rb");
    if (!in) return false;
    const std::string narrow = ".asi";
    const std::string wide(".\0a\0s\0i\0", 8);
    std::string text, chunk(1 << 16, '\0');
    bool found = false;
    for (size_t got; !found && (got = std::fread(&chunk[0], 1, chunk.size(), in)) > 0;) {
        // Keep the tail of the last read so a name split between two reads is still seen.
        text = text.substr(text.size() > wide.size() ? text.size() - wide.size() : 0) + Lower(chunk.substr(0, got));
        found = text.find(narrow) != std::string::npos || text.find(wide) != std::string::npos;
    }
    std::fclose(in);
    return found;
}

void CheckLoader(const fs::path& folder, Report& report) {
    std::string others;
    for (const char* name : kPluginLoaderNames) {
        const std::optional<fs::path> file = FindCaseless(folder, name);
        if (!file) continue;
        if (MentionsAsiFiles(*file)) {
            report.Ok("plug-in loader: " + Shown(folder, *file) + " (it starts the .asi files here and in scripts\\)");
            return;
        }
        others += " " + Shown(folder, *file);
    }
    std::string names;
    for (const char* name : kPluginLoaderNames) names += (names.empty() ? "" : ", ") + std::string(name);
    report.Problem("no plug-in loader: nothing here starts .asi files, so neither plug-in runs" +
                   (others.empty() ? std::string() : " (" + others.substr(1) + ": the game's own, it starts no .asi files)") +
                   ". Install an .asi loader for this game; it goes into the game folder as one of " + names);
}

void CheckSettings(const fs::path& folder, Report& report) {
    const std::optional<fs::path> file = FindCaseless(folder, kSettingsRelativePath);
    if (!file) {
        report.Note(std::string(kSettingsRelativePath) + " is missing: the plug-in writes it with every "
                    "default when the game starts");
        return;
    }
    int outside = 0;
    const RadioStripSettings defaults;
    std::string changed;
    for (const SettingsKey& key : kSettingsKeys) {
        const int32_t value = static_cast<int32_t>(
            GetPrivateProfileIntA(kSettingsSection, key.name, defaults.*key.field, file->string().c_str()));
        if (value != defaults.*key.field)
            changed += std::string(" ") + key.name + "=" + std::to_string(value) + " (" +
                       std::to_string(defaults.*key.field) + ")";
        if (value >= key.advisedLow && value <= key.advisedHigh) continue;
        report.Note(std::string(key.name) + "=" + std::to_string(value) + " is outside its advised range " +
                    std::to_string(key.advisedLow) + " to " + std::to_string(key.advisedHigh));
        ++outside;
    }
    if (outside == 0) report.Ok("settings: " + Shown(folder, *file) + ", every value within its advised range");
    // What a player changed explains much of what they see, such as no strip while getting in.
    if (!changed.empty()) report.Note("settings that differ from the defaults (default in brackets):" + changed);
}

bool ImageDecodes(IWICImagingFactory* factory, const fs::path& file) {
    const std::string name = file.u8string();
    const int units = MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, nullptr, 0);
    if (!factory || units <= 0) return false;
    std::vector<WCHAR> wide(static_cast<size_t>(units));
    if (MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, wide.data(), units) != units) return false;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    return SUCCEEDED(factory->CreateDecoderFromFilename(wide.data(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                        decoder.Put())) &&
           SUCCEEDED(decoder->GetFrame(0, frame.Put())) && SUCCEEDED(frame->GetSize(&width, &height)) &&
           width > 0 && height > 0;
}

void CheckIcons(const fs::path& folder, const GameChoice& game, Report& report) {
    const std::optional<fs::path> icons = FindCaseless(folder, kIconFolderRelativePath);
    const std::optional<fs::path> set = FindCaseless(folder, kBundledIconSetRelativePath);
    const std::string fromSet =
        set ? std::string(". ") + Shown(folder, *set) + " has our icons: copy them into " + kIconFolderRelativePath : "";
    if (!icons) {
        report.Problem(std::string("no icons folder ") + kIconFolderRelativePath +
                       ": the strip would show flat squares" + fromSet);
        return;
    }
    std::string missing, unshown, broken;
    size_t good = 0;
    for (const char* name : game.icons) {
        const std::optional<fs::path> file = FindCaseless(*icons, std::string(name) + ".png");
        if (!file) (IconEverShown(game, name) ? missing : unshown) += std::string(" ") + name + ".png";
        else if (!ImageDecodes(SharedImagingFactoryOrCreate(), *file)) broken += std::string(" ") + name + ".png";
        else ++good;
    }
    if (!missing.empty()) report.Problem("icons missing (shown as flat squares):" + missing + fromSet);
    if (!unshown.empty()) report.Note("icons missing that the game never shows (no harm):" + unshown);
    if (!broken.empty()) report.Problem("icons that do not decode (shown as flat squares):" + broken);
    if (missing.empty() && broken.empty())
        report.Ok("icons: every icon " + std::string(game.title) + " shows, " + std::to_string(good) + " files in " +
                  Shown(folder, *icons));
}

}  // namespace

int CheckCommand(const std::vector<std::string>& args) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kCheckUsage, stdout);
        return 0;
    }
    std::string exe;
    const bool named = args.size() == 3 && args[1] == "--exe";
    if (args.size() != 1 && !named) {
        return ToolError("check: expected GAMEDIR and at most --exe NAME (tessivo check --help tells more)");
    }
    if (named) exe = args[2];
    std::error_code error;
    if (!fs::is_directory(args[0], error)) return ToolError("check: no folder " + args[0]);
    // Absolute, because Windows looks for a profile file named by a relative path in its own
    // folder, not in the current one.
    const fs::path folder = fs::absolute(args[0], error);
    if (error) return ToolError("check: no folder " + args[0] + ": " + error.message());

    Report report;
    if (const std::optional<GameProgram> program = CheckGameProgram(folder, exe, report)) {
        CheckLoader(folder, report);
        CheckPluginFiles(folder, *program->game, report);
        CheckSettings(folder, report);
        CheckIcons(folder, *program->game, report);
    }
    if (report.problems == 0) {
        std::printf("The strip can work here.\n");
        return 0;
    }
    std::printf("The strip will not show until %s fixed.\n",
                report.problems == 1 ? "the problem above is" : "the problems above are");
    return 1;
}
