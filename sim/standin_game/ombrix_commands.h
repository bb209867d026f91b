// The stand-in game's Ombrix commands: load a real Ombrix DLL, call one export and print what
// the stand-in engine holds afterwards, one fact a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "../../load/rw_types.h"

namespace standin {

struct ExportRequest {
    std::string dllPath;
    std::string exportName;   // LoadPNGToRwTexture, LoadSVGToRwTexture, Find...inFolderPath
    std::string filePath;     // the Load exports
    std::string folderPath;   // the Find exports
    std::string fileName;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t useMipmaps = 0;
    uint32_t maxMipLevels = 0;
    uint32_t rowPadding = 0;  // stand-in engine: bytes after every row
    std::string outDir;       // levels written as <outDir>\levelN.png when not empty
    uint32_t repeat = 0;      // a soak: this many calls instead of one
    uint32_t holdEvery = 0;   // in a soak, every this-many-th texture is kept to the end
    uint32_t missEvery = 0;   // in a soak, every this-many-th call starts without cache files
};

// Parses "<dll> <file>" (or "<dll> <folder> <name>" for the Find exports) and the options.
// False with a message in `error` for a malformed command line.
bool ParseExportRequest(const std::vector<std::string>& args, bool folderForm,
                        ExportRequest& request, std::string& error);

// The DLL's export for the request, or null with the reason printed.
FARPROC BindExport(const ExportRequest& request);
// Calls the bound export with the request's arguments.
RwTexture* CallExport(const ExportRequest& request, FARPROC entry);

// Loads the DLL, calls the export, prints the result. Exit status: 0 for a texture, 1 for a
// null result, 2 when the DLL or the export cannot be had.
int RunExportRequest(const ExportRequest& request);

}  // namespace standin
