#include "ombrix_commands.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "../option_numbers.h"
#include "../png_writer.h"
#include "../rw_engine.h"

namespace standin {
namespace {

using LoadFn = RwTexture*(__cdecl*)(const char*, uint32_t, uint32_t, uint32_t, uint32_t);
using FindFn = RwTexture*(__cdecl*)(const char*, const char*, uint32_t, uint32_t, uint32_t,
                                    uint32_t);

// FNV-1a over a level's packed pixels: equal hashes, equal levels.
uint32_t HashBytes(const std::vector<uint8_t>& bytes) {
    uint32_t hash = 2166136261u;
    for (uint8_t b : bytes) hash = (hash ^ b) * 16777619u;
    return hash;
}

// Creates `dir` and any missing parents; accepts "\\" and "/" as separators.
void CreateDirectories(const std::string& dir) {
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '\\' || dir[i] == '/') {
            std::string prefix = dir.substr(0, i);
            if (!prefix.empty() && prefix.back() != ':') CreateDirectoryA(prefix.c_str(), nullptr);
        }
    }
}

// Levels of `raster` the library locked for writing, ascending: the levels it filled. The
// engine holds every level the raster flags imply; a capped chain fills only the first ones.
std::vector<uint32_t> FilledLevels(const RwRaster* raster) {
    std::vector<uint32_t> levels;
    for (const sim::RwCall& call : sim::RwCallLog())
        if (call.op == sim::RwOp::RasterLock && call.raster == raster && !call.failed &&
            call.lockMode == rwRASTERLOCKWRITE)
            levels.push_back(call.level);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    return levels;
}

int CountLocks(RwInt32 mode) {
    int count = 0;
    for (const sim::RwCall& call : sim::RwCallLog())
        if (call.op == sim::RwOp::RasterLock && call.lockMode == mode && !call.failed) ++count;
    return count;
}

void PrintEngineCounts() {
    std::printf("engine creates %d destroys %d locks-write %d locks-read %d unlocks %d "
                "texture-creates %d\n",
                sim::CountRwCalls(sim::RwOp::RasterCreate),
                sim::CountRwCalls(sim::RwOp::RasterDestroy), CountLocks(rwRASTERLOCKWRITE),
                CountLocks(rwRASTERLOCKREAD), sim::CountRwCalls(sim::RwOp::RasterUnlock),
                sim::CountRwCalls(sim::RwOp::TextureCreate));
    std::printf("live rasters %d textures %d\n", sim::LiveRasters(), sim::LiveTextures());
}

// Everything a test needs to know about a returned texture, one fact a line.
void PrintTexture(const RwTexture* texture, const std::string& outDir) {
    const RwRaster* raster = texture->raster;
    std::vector<uint32_t> filled = FilledLevels(raster);
    std::printf("raster %dx%d depth %d levels %u filled %u\n", raster->width, raster->height,
                raster->depth, sim::RasterLevelCount(raster),
                static_cast<unsigned>(filled.size()));
    if (!outDir.empty()) CreateDirectories(outDir);
    for (uint32_t i : filled) {
        uint32_t w = sim::RasterLevelWidth(raster, i);
        uint32_t h = sim::RasterLevelHeight(raster, i);
        std::vector<uint8_t> pixels = sim::RasterLevelPixels(raster, i);
        std::printf("level %u %ux%u hash 0x%08x\n", i, w, h, HashBytes(pixels));
        if (!outDir.empty()) {
            std::string path = outDir + "\\level" + std::to_string(i) + ".png";
            bool written = sim::WritePngFromBgra(path, w, h, pixels);
            std::printf("%s %s\n", written ? "wrote" : "could not write", path.c_str());
        }
    }
    std::printf("flags 0x%x\n", static_cast<unsigned>(sim::RasterFlags(raster)));
    std::printf("filter %u\n", texture->filterAddressing & 0xFFu);
    uint32_t upper = texture->filterAddressing >> 8;
    std::printf("upper 0x%06x %s\n", upper,
                upper == (sim::kInitialFilterAddressing >> 8) ? "untouched" : "changed");
    std::printf("padding %s\n", sim::RasterPaddingIntact(raster) ? "intact" : "damaged");
    std::vector<uint8_t> level0 = sim::RasterLevelPixels(raster, 0);
    if (level0.size() >= 4)
        std::printf("pixel0 bgra %u %u %u %u\n", level0[0], level0[1], level0[2], level0[3]);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

bool ParseExportRequest(const std::vector<std::string>& args, bool folderForm,
                        ExportRequest& request, std::string& error) {
    size_t positional = folderForm ? 3 : 2;
    if (args.size() < positional) {
        error = folderForm ? "expected <dll> <folder> <name>" : "expected <dll> <file>";
        return false;
    }
    request.dllPath = args[0];
    if (folderForm) {
        request.folderPath = args[1];
        request.fileName = args[2];
    } else {
        request.filePath = args[1];
    }
    for (size_t i = positional; i < args.size(); ++i) {
        const std::string& option = args[i];
        bool hasValue = i + 1 < args.size();
        if (option == "--mipmaps") {
            request.useMipmaps = 1;
        } else if (option == "--size" && hasValue) {
            if (!sim::ParseOptionSize(args[++i], request.width, request.height)) {
                error = "--size wants WxH, got " + args[i];
                return false;
            }
        } else if (option == "--max-levels" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.maxMipLevels)) {
                error = "--max-levels wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--use-mipmaps" && hasValue) {  // the raw 32-bit argument
            if (!sim::ParseOptionNumber(args[++i], request.useMipmaps)) {
                error = "--use-mipmaps wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--row-padding" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.rowPadding)) {
                error = "--row-padding wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--repeat" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.repeat)) {
                error = "--repeat wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--hold-every" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.holdEvery)) {
                error = "--hold-every wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--miss-every" && hasValue) {
            if (!sim::ParseOptionNumber(args[++i], request.missEvery)) {
                error = "--miss-every wants a number, got " + args[i];
                return false;
            }
        } else if (option == "--export" && hasValue) {
            // A plug-in that wraps the library (the SDK's example) under a name of its own,
            // called with the same arguments.
            request.exportName = args[++i];
        } else if (option == "--out" && hasValue) {
            request.outDir = args[++i];
        } else {
            error = "unknown option or missing value: " + option;
            return false;
        }
    }
    return true;
}

FARPROC BindExport(const ExportRequest& request) {
    HMODULE dll = LoadLibraryA(request.dllPath.c_str());
    if (!dll) {
        std::printf("error: LoadLibraryA(%s) failed, error %lu\n", request.dllPath.c_str(),
                    GetLastError());
        return nullptr;
    }
    std::printf("dll %s at 0x%08lx\n", request.dllPath.c_str(),
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(dll)));
    FARPROC entry = GetProcAddress(dll, request.exportName.c_str());
    if (!entry) {
        std::printf("error: export %s not found\n", request.exportName.c_str());
        return nullptr;
    }
    std::printf("export %s at 0x%08lx\n", request.exportName.c_str(),
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(entry)));
    return entry;
}

RwTexture* CallExport(const ExportRequest& request, FARPROC entry) {
    // void (*)() is the one function type GCC lets any other be cast from without a warning.
    auto generic = reinterpret_cast<void (*)()>(entry);
    if (request.exportName.rfind("Find", 0) == 0)
        return reinterpret_cast<FindFn>(generic)(request.folderPath.c_str(),
                                                 request.fileName.c_str(), request.width,
                                                 request.height, request.useMipmaps,
                                                 request.maxMipLevels);
    return reinterpret_cast<LoadFn>(generic)(request.filePath.c_str(), request.width,
                                             request.height, request.useMipmaps,
                                             request.maxMipLevels);
}

int RunExportRequest(const ExportRequest& request) {
    sim::RwEngineSettings settings;
    settings.rowPadding = request.rowPadding;
    sim::ConfigureRwEngine(settings);

    FARPROC entry = BindExport(request);
    if (!entry) return 2;
    bool folderForm = request.exportName.rfind("Find", 0) == 0;
    if (folderForm)
        std::printf("call %s(\"%s\", \"%s\", %u, %u, %u, %u)\n", request.exportName.c_str(),
                    request.folderPath.c_str(), request.fileName.c_str(), request.width,
                    request.height, request.useMipmaps, request.maxMipLevels);
    else
        std::printf("call %s(\"%s\", %u, %u, %u, %u)\n", request.exportName.c_str(),
                    request.filePath.c_str(), request.width, request.height,
                    request.useMipmaps, request.maxMipLevels);
    std::fflush(stdout);

    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    RwTexture* texture = CallExport(request, entry);
    QueryPerformanceCounter(&after);
    std::printf("time %.1f ms\n", Milliseconds(before, after));

    if (!texture) {
        std::printf("texture null\n");
        PrintEngineCounts();
        return 1;
    }
    std::printf("texture 0x%08lx\n",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(texture)));
    PrintTexture(texture, request.outDir);
    PrintEngineCounts();
    return 0;
}

}  // namespace standin
