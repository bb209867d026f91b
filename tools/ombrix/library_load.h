// One load by the image library as this build of the tool has it: the library linked in
// (library_load_host.cpp), or the real Ombrix.<game>.asi in the stand-in engine on Windows
// (library_load_windows.cpp), which answers a texture or null and nothing more.
#pragma once

#include <cstdint>
#include <string>

#include "load/load_status.h"
#include "load/rw_bridge.h"

struct LibraryLoad {
    RwTexture* texture = nullptr;
    std::string status;        // how the load ended, in words
    bool detailed = false;     // `outcome` holds what the library found on the way
    LoadOutcome outcome;
};

// The stand-in engine ready for loads and the library at hand; `dll` is --dll, empty when not
// given. False, saying why.
bool OpenImageLibrary(const std::string& dll, std::string& error);

// Whether this platform can draw `file` at all: empty when it can, else one line saying why not.
std::string MissingRenderer(const std::string& file);

// Loads `file` as the export for its kind does (SVG by its extension, anything else as a raster).
LibraryLoad LoadThroughLibrary(const std::string& file, uint32_t width, uint32_t height, bool mipmaps,
                               uint32_t maxLevels);
