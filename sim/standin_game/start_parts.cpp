#include "start_parts.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "../../platform/platform.h"
#include "../../radio/image_library_binding.h"
#include "../../radio/settings_file.h"
#include "../../radio/station_icons.h"
#include "../../raster/imaging_factory.h"
#include "../../raster/wide_path.h"
#include "plugin_loader.h"

namespace standin {
namespace {

// The moments the watched calls mark, in ticks; zero until seen.
LARGE_INTEGER lastProfileRead{};
LARGE_INTEGER libraryBound{};
LARGE_INTEGER firstIconDone{};

using ProfileIntFn = UINT(WINAPI*)(LPCSTR, LPCSTR, INT, LPCSTR);
using ProcAddressFn = FARPROC(WINAPI*)(HMODULE, LPCSTR);
ProfileIntFn realProfileInt = nullptr;
ProcAddressFn realProcAddress = nullptr;
FindPngInFolderFn realFindPng = nullptr;

UINT WINAPI WatchedProfileInt(LPCSTR section, LPCSTR key, INT fallback, LPCSTR path) {
    const UINT value = realProfileInt(section, key, fallback, path);
    QueryPerformanceCounter(&lastProfileRead);
    return value;
}

// The first icon pays for everything a start does once (the imaging component's creation
// above all), so its end splits the icon loads in two.
RwTexture* __cdecl WatchedFindPng(const char* folder, const char* name, uint32_t width,
                                  uint32_t height, uint32_t useMipmaps, uint32_t maxMipLevels) {
    RwTexture* texture = realFindPng(folder, name, width, height, useMipmaps, maxMipLevels);
    if (firstIconDone.QuadPart == 0) QueryPerformanceCounter(&firstIconDone);
    return texture;
}

// The strip binds the library and then asks it for its loader: that answer ends the binding.
FARPROC WINAPI WatchedProcAddress(HMODULE module, LPCSTR name) {
    FARPROC found = realProcAddress(module, name);
    if (libraryBound.QuadPart == 0) QueryPerformanceCounter(&libraryBound);
    if (found && !IS_INTRESOURCE(name) && std::strcmp(name, kFindPngExportName) == 0) {
        // Through the one function type every other one converts to without a warning.
        realFindPng = reinterpret_cast<FindPngInFolderFn>(reinterpret_cast<void (*)()>(found));
        found = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&WatchedFindPng));
    }
    return found;
}

// Points the module's import of kernel32!`name` at `hook`; the previous target, or null.
void* PatchImport(HMODULE module, const char* name, void* hook) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), "kernel32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                return nullptr;
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return previous;
        }
    }
    return nullptr;
}

// Opens the image for its frame size, then reads the cache file of that size whole: what a
// warm load of an icon at its own size must do. False when either is missing.
bool ReadIconAndCache(IWICImagingFactory* factory, const std::string& folder,
                      const std::string& name, std::vector<BYTE>& buffer) {
    WCHAR wide[MAX_PATH];
    if (!WidePathFromBytes((folder + name).c_str(), wide, MAX_PATH)) return false;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(wide, nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(frame->GetSize(&width, &height)))
        return false;
    char cache[MAX_PATH];
    const int length = std::snprintf(cache, sizeof cache, "%s.mipcache\\%s_%ux%u.mipmap",
                                     folder.c_str(), name.c_str(), width, height);
    if (length < 0 || length >= static_cast<int>(sizeof cache)) return false;
    HANDLE file = CreateFileA(cache, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    buffer.resize(size);
    DWORD read = 0;
    const bool whole = size != INVALID_FILE_SIZE &&
                       ReadFile(file, buffer.data(), size, &read, nullptr) && read == size;
    CloseHandle(file);
    return whole;
}

}  // namespace

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void WatchStartParts(HMODULE radio) {
    realProfileInt = reinterpret_cast<ProfileIntFn>(PatchImport(
        radio, "GetPrivateProfileIntA", reinterpret_cast<void*>(&WatchedProfileInt)));
    realProcAddress = reinterpret_cast<ProcAddressFn>(
        PatchImport(radio, "GetProcAddress", reinterpret_cast<void*>(&WatchedProcAddress)));
    if (!realProfileInt || !realProcAddress)
        std::printf("startup parts not watched: the plug-in imports %s%s\n",
                    realProfileInt ? "" : "no GetPrivateProfileIntA ",
                    realProcAddress ? "" : "no GetProcAddress");
}

void PrintStartParts(LARGE_INTEGER before, LARGE_INTEGER after) {
    if (lastProfileRead.QuadPart == 0 || libraryBound.QuadPart == 0 || firstIconDone.QuadPart == 0) {
        std::printf("startup parts unknown: %s\n",
                    lastProfileRead.QuadPart == 0 ? "no settings read seen"
                    : libraryBound.QuadPart == 0  ? "no library binding seen"
                                                  : "no icon load seen");
        return;
    }
    std::printf("startup part settings %.3f ms\n", Milliseconds(before, lastProfileRead));
    std::printf("startup part binding %.3f ms\n", Milliseconds(lastProfileRead, libraryBound));
    std::printf("startup part first_icon %.3f ms\n", Milliseconds(libraryBound, firstIconDone));
    std::printf("startup part other_icons %.3f ms\n", Milliseconds(firstIconDone, after));
}

void PrintRequiredCallsTime(const std::string& gameFolder, const char* const* settingsNames,
                            int settingsCount) {
    const std::string ini = gameFolder + kSettingsRelativePath;
    const std::string icons = gameFolder + kIconFolderRelativePath + "\\";
    const std::vector<std::string> names = FolderFileNames(icons, "*.png");
    std::vector<BYTE> buffer;

    LARGE_INTEGER before, settingsRead, firstIcon, after;
    QueryPerformanceCounter(&before);
    for (int key = 0; key < settingsCount; ++key)
        GetPrivateProfileIntA(kSettingsSection, settingsNames[key], 0, ini.c_str());
    QueryPerformanceCounter(&settingsRead);
    firstIcon = settingsRead;
    // Made the way the library makes its own for a start's first icon, and as late.
    IWICImagingFactory* factory = SharedImagingFactoryOrCreate();
    size_t served = 0;
    for (size_t i = 0; factory && i < names.size(); ++i) {
        if (ReadIconAndCache(factory, icons, names[i], buffer)) ++served;
        if (i == 0) QueryPerformanceCounter(&firstIcon);
    }
    QueryPerformanceCounter(&after);
    std::printf("required calls: %u profile reads, %u of %u icons with a cache file\n",
                static_cast<unsigned>(settingsCount), static_cast<unsigned>(served),
                static_cast<unsigned>(names.size()));
    std::printf("required part settings %.3f ms\n", Milliseconds(before, settingsRead));
    std::printf("required part first_icon %.3f ms\n", Milliseconds(settingsRead, firstIcon));
    std::printf("required part other_icons %.3f ms\n", Milliseconds(firstIcon, after));
    std::printf("required calls time %.3f ms\n", Milliseconds(before, after));
}

}  // namespace standin
