#include "radio_run.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "../../games/host_cells.h"
#include "../../radio/radio_strip_settings.h"
#include "../code_signatures.h"
#include "../drive_frames_file.h"
#include "../event_call_sites.h"
#include "../game_code.h"
#include "../game_image.h"
#include "../host_layout.h"
#include "../host_routines.h"
#include "../host_world.h"
#include "../option_numbers.h"
#include "../rw_engine.h"
#include "../scripted_drive.h"
#include "plugin_loader.h"
#include "start_parts.h"

namespace standin {
namespace {

// What the radio plug-in's settings record holds before any file is read, in field order:
// found once in its writable data, it shows what every later read put there.
const RadioStripSettings kDefaultSettings{};

// The keys in the record's order, as the plug-in's own table names them.
const std::array<const char*, kSettingsKeys.size()> kSettingsNames = [] {
    std::array<const char*, kSettingsKeys.size()> names{};
    for (size_t i = 0; i < names.size(); ++i) names[i] = kSettingsKeys[i].name;
    return names;
}();
constexpr int kReloadKeyDefault = VK_LCONTROL;

struct Plugins {
    HMODULE radio = nullptr;
    std::string radioName;
};

std::string GameFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* cut = std::strrchr(path, '\\');
    if (cut) cut[1] = '\0';
    return path;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    return _strnicmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

void LoadFolder(const std::string& folder, Plugins& plugins) {
    for (const LoadedPlugin& plugin : LoadPluginFolder(folder)) {
        if (!plugin.module) {
            std::printf("plugin %s failed, error %lu\n", plugin.name.c_str(), plugin.error);
            continue;
        }
        std::printf("plugin %s loaded\n", plugin.name.c_str());
        if (StartsWithNoCase(plugin.name, "Tessivo")) {
            plugins.radio = plugin.module;
            plugins.radioName = plugin.name;
        }
    }
}

bool InsideModule(const void* address, HMODULE module) {
    MEMORY_BASIC_INFORMATION info;
    return module && VirtualQuery(address, &info, sizeof info) == sizeof info &&
           info.AllocationBase == module;
}

const char* EventName(sim::GameEvent event) {
    switch (event) {
        case sim::GameEvent::RwStartup: return "startup";
        case sim::GameEvent::FrameProcess: return "frame";
        case sim::GameEvent::RwShutdown: return "shutdown";
    }
    return "?";
}

void PrintCode(sim::Game game, HMODULE radio) {
    const games::HostCells* cells = sim::HostCellsOf(game);
    const uint8_t* entry = sim::GameBytes(cells->replacedRoutine.address);
    const void* target = entry[0] == 0xE9 ? sim::BranchTarget(cells->replacedRoutine.address) : nullptr;
    std::printf("replaced-routine 0x%06x %s\n", static_cast<unsigned>(cells->replacedRoutine.address),
                !target ? "not-jumped" : InsideModule(target, radio) ? "jumps-into-plugin" : "jumps-elsewhere");
    for (sim::GameEvent event : {sim::GameEvent::RwStartup, sim::GameEvent::FrameProcess,
                                 sim::GameEvent::RwShutdown})
        for (uint32_t site : sim::EventCallSitesOf(game, event)) {
            const uint8_t* bytes = sim::GameBytes(site);
            const char* state =
                std::memcmp(bytes, sim::LaidOutSiteBytes(site).data(), 5) == 0 ? "as-laid-out"
                : bytes[0] == 0xE8 && InsideModule(sim::BranchTarget(site), radio) ? "redirected"
                                                                                   : "changed";
            std::printf("site %s 0x%06x %s%s\n", EventName(event), static_cast<unsigned>(site), state,
                        sim::EventCallee(site) ? "" : " (other release)");
        }
}

// The record, found by its defaults in the plug-in's writable data; null when not exactly once.
const int32_t* FindSettingsRecord(HMODULE radio) {
    const int32_t* found = nullptr;
    int matches = 0;
    const uint8_t* at = reinterpret_cast<const uint8_t*>(radio);
    MEMORY_BASIC_INFORMATION info;
    while (radio && VirtualQuery(at, &info, sizeof info) == sizeof info && info.AllocationBase == radio) {
        const bool writable = info.State == MEM_COMMIT &&
                              (info.Protect & (PAGE_READWRITE | PAGE_WRITECOPY)) != 0;
        if (writable)
            for (size_t offset = 0; offset + sizeof kDefaultSettings <= info.RegionSize; offset += 4)
                if (std::memcmp(at + offset, &kDefaultSettings, sizeof kDefaultSettings) == 0) {
                    found = reinterpret_cast<const int32_t*>(at + offset);
                    ++matches;
                }
        at += info.RegionSize;
    }
    std::printf("settings-record %s\n", matches == 1 ? "found" : matches ? "ambiguous" : "missing");
    return matches == 1 ? found : nullptr;
}

void PrintSettings(const char* when, const int32_t* record) {
    if (!record) return;
    std::printf("settings %s", when);
    for (size_t i = 0; i < kSettingsNames.size(); ++i)
        std::printf(" %s=%d", kSettingsNames[i], static_cast<int>(record[i]));
    std::printf("\n");
}

void SetKeyDown(int vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void RunSites(sim::Game game, sim::GameEvent event) {
    for (uint32_t site : sim::EventCallSitesOf(game, event))
        if (sim::EventCallee(site)) sim::RunGameCode(site);
}

// The player's edit: the key's line gets the new value, every other byte stays. (The profile
// writer would lay the whole file out anew, comments included.)
bool EditKeyLine(const std::string& path, const std::string& key, const std::string& value) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return false;
    std::string text;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, n);
    std::fclose(in);
    const size_t line = text.find("\n" + key + "=");
    if (line == std::string::npos) return false;
    const size_t start = line + 2 + key.size(), end = text.find('\r', start);
    text.replace(start, end == std::string::npos ? std::string::npos : end - start, value);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

bool ParseNumberList(const std::string& text, std::vector<uint32_t>& numbers) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        uint32_t value = 0;
        if (!sim::ParseOptionNumber(text.substr(start, comma - start), value)) return false;
        numbers.push_back(value);
        start = comma + 1;
    }
    return true;
}

void PlayDriveInto(sim::Game game, const RadioRequest& request) {
    const std::vector<sim::DriveFrame> frames = sim::PlayDrive(sim::RadioDriveScript());
    size_t draws = 0;
    for (const sim::DriveFrame& frame : frames)
        for (const sim::DrawnCall& call : frame.drawn) draws += call.routine == sim::HostRoutine::SpriteDraw;
    const bool written = sim::WriteDriveFrames(request.driveFile, game, request.release, frames);
    std::printf("drive frames %u sprite-draws %u %s\n", static_cast<unsigned>(frames.size()),
                static_cast<unsigned>(draws), written ? "written" : "not-written");
}

}  // namespace

bool ParseRadioRequest(const std::vector<std::string>& args, RadioRequest& request,
                       std::string& error) {
    uint32_t release = 0;
    if (args.empty() || !sim::ParseOptionNumber(args[0], release)) {
        error = "radio wants a release code (100, 110, 120, 1001, ...)";
        return false;
    }
    request.release = static_cast<int32_t>(release);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option == "--unload") {
            request.unload = true;
        } else if (option == "--required-calls") {
            request.requiredCalls = true;
        } else if (option == "--drive" && hasValue) {
            request.driveFile = args[++i];
        } else if (option == "--frames" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.frames)) {
                error = "--frames wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--reload-at" && hasValue) {
            if (!ParseNumberList(args[++i], request.reloadFrames)) {
                error = "--reload-at wants frame numbers F,F..., got " + args[i];
                return false;
            }
        } else if (option == "--edit" && hasValue) {
            const std::string& edit = args[++i];
            const size_t equals = edit.find('='), at = edit.rfind('@');
            if (equals == std::string::npos || at == std::string::npos || at < equals ||
                !sim::ParseOptionNumber(edit.substr(at + 1), request.editFrame)) {
                error = "--edit wants KEY=VALUE@FRAME, got " + edit;
                return false;
            }
            request.editKey = edit.substr(0, equals);
            request.editValue = edit.substr(equals + 1, at - equals - 1);
        } else {
            error = "unknown option or missing value: " + option;
            return false;
        }
    }
    return true;
}

int RunRadio(sim::Game game, const RadioRequest& request) {
    sim::WriteLauncher();
    sim::WriteCodeSignatures(game, &request.release, 1);
    sim::WriteEventCallSites(game, request.release);
    sim::InstallHostRoutines(game, request.release);
    std::printf("release %d laid out\n", static_cast<int>(request.release));

    const std::string folder = GameFolder();
    Plugins plugins;
    LoadFolder(folder, plugins);
    LoadFolder(folder + "scripts\\", plugins);
    if (!plugins.radio) {
        std::printf("error: no Tessivo*.asi in %s or its scripts folder\n", folder.c_str());
        return 2;
    }
    if (request.requiredCalls) {
        // Timed in the state a start begins in: after a start the process would already hold
        // the imaging component and the decoder's code that any start must first load.
        PrintRequiredCallsTime(folder, kSettingsNames.data(), static_cast<int>(kSettingsNames.size()));
        return 0;
    }
    PrintCode(game, plugins.radio);
    std::printf("sprites constructed %u\n",
                static_cast<unsigned>(sim::HostCallsTo(sim::HostRoutine::SpriteConstruct).size()));
    const int32_t* settings = FindSettingsRecord(plugins.radio);
    WatchStartParts(plugins.radio);

    std::printf("startup call\n");
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    RunSites(game, sim::GameEvent::RwStartup);
    QueryPerformanceCounter(&after);
    std::printf("startup done, textures live %d\n", sim::LiveTextures());
    // What the icons cost the game's start: a cold start decodes them, a warm one reads caches.
    std::printf("startup time %.3f ms\n", Milliseconds(before, after));
    PrintStartParts(before, after);
    PrintSettings("after-startup", settings);

    if (!request.driveFile.empty()) PlayDriveInto(game, request);
    const std::string iniPath = folder + "halvenmoor_mods\\Tessivo\\tessivo.ini";
    for (uint32_t frame = 1; request.driveFile.empty() && frame <= request.frames; ++frame) {
        if (frame == request.editFrame)
            std::printf("edit %s=%s %s\n", request.editKey.c_str(), request.editValue.c_str(),
                        EditKeyLine(iniPath, request.editKey, request.editValue) ? "done" : "failed");
        const bool down = std::find(request.reloadFrames.begin(), request.reloadFrames.end(), frame) !=
                          request.reloadFrames.end();
        SetKeyDown(kReloadKeyDefault, down);
        RunSites(game, sim::GameEvent::FrameProcess);
        sim::RunGameCode(sim::HostCellsOf(game)->replacedRoutine.address);
        const std::string when = "frame-" + std::to_string(frame) + (down ? "-key-down" : "-key-up");
        PrintSettings(when.c_str(), settings);
    }
    SetKeyDown(kReloadKeyDefault, false);
    std::printf("replaced-routine game calls %u\n", sim::ReplacedRoutineCalls());

    std::printf("shutdown call\n");
    RunSites(game, sim::GameEvent::RwShutdown);
    std::printf("shutdown done, textures live %d, destroyed %u\n", sim::LiveTextures(),
                static_cast<unsigned>(sim::HostCallsTo(sim::HostRoutine::RwTextureDestroy).size()));

    if (request.unload) {
        const BOOL freed = FreeLibrary(plugins.radio);
        std::printf("unload %s %s\n", plugins.radioName.c_str(), freed ? "done" : "failed");
        PrintCode(game, nullptr);
        std::printf("sprites destructed %u\n",
                    static_cast<unsigned>(sim::HostCallsTo(sim::HostRoutine::SpriteDestruct).size()));
    }
    return 0;
}

}  // namespace standin
