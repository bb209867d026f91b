#include "library_load.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "commands.h"
#include "games/iii/rw_functions.h"
#include "games/sa/rw_functions.h"
#include "games/vc/rw_functions.h"
#include "sim/game_image.h"
#include "sim/host_routines.h"
#include "sim/rw_engine.h"
#include "svg/svg_device.h"
#include "svg/svg_document_load.h"
#include "tools/process/tool_process.h"
#include "tools/tessivo/pe_image.h"

namespace fs = std::filesystem;

namespace {

using LoadExport = RwTexture*(__cdecl*)(const char* filePath, uint32_t width, uint32_t height, uint32_t useMipmaps,
                                        uint32_t maxMipLevels);

struct GameBuild {
    const char* build;  // as the version resource's GameBuild names it
    sim::Game game;
    const games::HostRwFunctions* engine;
};

const GameBuild kBuilds[] = {
    {"III", sim::Game::III, &games::iii::kRwFunctions},
    {"VC", sim::Game::VC, &games::vc::kRwFunctions},
    {"SA", sim::Game::SA, &games::sa::kRwFunctions},
};

LoadExport loadPng = nullptr;
LoadExport loadSvg = nullptr;

// The first Ombrix.*.asi beside the program, then in the bundle's scripts folder (the tools sit
// in halvenmoor_mods\Tessivo\tools), then in the game folder.
std::string FindLibrary() {
    const fs::path tools = ProgramFolder("ombrix.exe");
    for (const fs::path& folder : {tools, (tools / "..\\..\\..\\scripts").lexically_normal(),
                                   (tools / "..\\..\\..").lexically_normal()}) {
        std::error_code error;
        std::vector<fs::path> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            std::string name = entry.path().filename().string();
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            if (name.rfind("ombrix.", 0) == 0 && entry.path().extension() == ".asi") found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());
        if (!found.empty()) return found.front().string();
    }
    return "";
}

}  // namespace

bool OpenImageLibrary(const std::string& dll, std::string& error) {
    const std::string file = dll.empty() ? FindLibrary() : dll;
    if (file.empty()) {
        error = "no Ombrix.<game>.asi beside ombrix.exe or in the game's scripts folder: name one with --dll";
        return false;
    }
    PeImage image;
    if (!ReadPeImage(file, image, error)) {
        error = file + " " + error;
        return false;
    }
    const auto strings = VersionStrings(image);
    const auto named = strings.find("GameBuild");
    const GameBuild* build = nullptr;
    for (const GameBuild& b : kBuilds)
        if (named != strings.end() && named->second == b.build) build = &b;
    if (!build) {
        error = file + " has no version resource of an Ombrix build, so its game's engine is unknown";
        return false;
    }
    if (!sim::MapGameImage()) {
        error = "the stand-in game's image at 0x400000 cannot be had";
        return false;
    }
    sim::InstallRwEngine(*build->engine);
    // No release is laid out: the library needs the engine and nothing of the game's code.
    sim::InstallHostRoutines(build->game, 0);
    HMODULE library = LoadLibraryA(file.c_str());
    if (!library) {
        error = "Windows refused to load " + file + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    loadPng = reinterpret_cast<LoadExport>(reinterpret_cast<void*>(GetProcAddress(library, "LoadPNGToRwTexture")));
    loadSvg = reinterpret_cast<LoadExport>(reinterpret_cast<void*>(GetProcAddress(library, "LoadSVGToRwTexture")));
    if (!loadPng || !loadSvg) {
        error = file + " lacks the image library's exports";
        return false;
    }
    std::printf("library %s, built for %s\n", file.c_str(), build->build);
    return true;
}

namespace {

// The first step of the library's SVG device and document that this system does not take:
// CreateSvgDevice fills the device's members in the order it takes its steps.
const char* FirstMissingStep(const SvgDevice& device) {
    if (!device.device) return "no software Direct3D 11 device (D3D11CreateDevice failed)";
    if (!device.dxgiDevice) return "the Direct3D device has no IDXGIDevice";
    if (!device.factory) return "no ID2D1Factory3 (D2D1CreateFactory failed)";
    if (!device.d2dDevice) return "ID2D1Factory3::CreateDevice made no Direct2D device";
    if (!device.context2) return "ID2D1Device2::CreateDeviceContext made no device context";
    if (!device.context) return "the device context refused ID2D1DeviceContext5";
    return "ID2D1DeviceContext5::CreateSvgDocument made no SVG document";
}

}  // namespace

std::string MissingRenderer(const std::string& file) {
    if (!IsSvgFile(file)) return "";
    // What the library's SVG loader draws with, asked for the same way: a device and a document.
    SvgDevice device;
    LoadedSvgDocument document;
    if (CreateSvgDevice(device) &&
        LoadSvgDocument(device.context.Get(), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1\" height=\"1\"/>",
                        1, 1, document))
        return "";
    return std::string("this system's Direct2D cannot draw SVG documents: ") + FirstMissingStep(device) +
           " (it needs Direct2D SVG support and a software Direct3D 11 device, as on Windows 10 1703 or later), so " +
           file + " cannot be drawn here";
}

LibraryLoad LoadThroughLibrary(const std::string& file, uint32_t width, uint32_t height, bool mipmaps,
                               uint32_t maxLevels) {
    LibraryLoad load;
    const LoadExport loader = IsSvgFile(file) ? loadSvg : loadPng;
    load.texture = loader ? loader(file.c_str(), width, height, mipmaps ? 1 : 0, maxLevels) : nullptr;
    load.status = load.texture ? "texture" : "no texture (the DLL answers null and does not say why)";
    return load;
}
