#include "export_soak.h"

#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../rw_engine.h"

namespace standin {
namespace {

// Private bytes of the process (the commit charge, which Windows reports as the page-file
// usage); under Wine its resident anonymous memory and swap. 0 when it cannot be had.
size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}

// Pixel bytes of every level of the texture's raster.
size_t TextureBytes(const RwTexture* texture) {
    size_t bytes = 0;
    for (uint32_t level = 0; level < sim::RasterLevelCount(texture->raster); ++level)
        bytes += size_t(sim::RasterLevelWidth(texture->raster, level)) *
                 sim::RasterLevelHeight(texture->raster, level) * 4;
    return bytes;
}

// Deletes every file of the ".mipcache" folder beside the image, so the next load decodes.
void DeleteCacheFiles(const std::string& imagePath) {
    const size_t slash = imagePath.find_last_of("\\/");
    const std::string folder =
        (slash == std::string::npos ? std::string() : imagePath.substr(0, slash + 1)) + ".mipcache\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void Destroy(RwTexture* texture) {
    if (texture) sim::DestroyTexture(texture);
}

}  // namespace

int RunExportSoak(const ExportRequest& request) {
    FARPROC entry = BindExport(request);
    if (!entry) return 2;
    Destroy(CallExport(request, entry));  // the library's one-time imaging factory
    sim::ClearRwCallLog();
    const size_t before = PrivateBytes();

    std::vector<RwTexture*> held;
    size_t heldBytes = 0;
    uint32_t nulls = 0;
    for (uint32_t call = 0; call < request.repeat; ++call) {
        if (request.missEvery && call % request.missEvery == 0) DeleteCacheFiles(request.filePath);
        RwTexture* texture = CallExport(request, entry);
        sim::ClearRwCallLog();  // the engine's record of calls is the stand-in's, not the game's
        if (!texture) {
            ++nulls;
        } else if (request.holdEvery && call % request.holdEvery == 0) {
            held.push_back(texture);
            heldBytes += TextureBytes(texture);
        } else {
            Destroy(texture);
        }
    }
    const size_t after = PrivateBytes();
    std::printf("soak calls %u nulls %u held %u held-bytes %zu private-before %zu "
                "private-after %zu\n",
                request.repeat, nulls, static_cast<unsigned>(held.size()), heldBytes, before,
                after);
    for (RwTexture* texture : held) Destroy(texture);
    return nulls ? 1 : 0;
}

}  // namespace standin
