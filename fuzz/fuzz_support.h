// What the fuzz targets share: a trap for broken promises, a scratch folder of the process's
// own, the stand-in engine the image library draws into, and the check that a load left
// nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Traps (a crash libFuzzer reports with the input) when a promise is broken.
inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// A fresh folder made once per process; removed at exit.
const std::string& ScratchFolder();

// Replaces the bytes of the file, named as the library names it ("\\" separators allowed);
// traps when it cannot be written (the run would test nothing).
void WriteInput(const std::string& path, const uint8_t* data, size_t size);

// Writes the input as the image source in the scratch folder, with no cache file left from an
// earlier input, so that every load decodes or draws it.
void WriteUncachedSource(const std::string& path, const uint8_t* data, size_t size);

// Maps the stand-in game image and installs its engine at the selected game's addresses.
void InstallEngine();

// Destroys the texture as its owner does; null is allowed.
void DestroyTexture(void* texture);

// Traps unless every texture, raster, COM object and file handle a load made is gone. The
// process-wide imaging factory made by the first decode is counted in `comBaseline`. Then
// clears the stand-ins' call records, which would otherwise grow with every input.
void RequireNothingLive(long comBaseline);

}  // namespace fuzz
