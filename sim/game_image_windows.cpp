// Windows/Wine: the image is the stand-in game executable itself. Its first section, `.game`,
// starts at 0x401000 right after the PE headers at the image base 0x400000 (linker script
// sim/standin_game/standin_game.ld) and is uninitialised, so the file stays small while the
// loader reserves the whole range. Mapping only makes that section writable and executable.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>

#include "game_image.h"
#include "game_image_base.h"

namespace sim {
namespace {

// Where the section must start relative to the image base: the first page after the headers.
constexpr uint32_t kGameSectionOffset = 0x1000;

// The `.game` section header of the running executable, or null when it has none.
const IMAGE_SECTION_HEADER* FindGameSection(const uint8_t* image) {
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (std::memcmp(section->Name, ".game\0\0\0", IMAGE_SIZEOF_SHORT_NAME) == 0)
            return section;
    return nullptr;
}

}  // namespace

bool MapGameImage(uint32_t base) {
    if (MappedBase() != 0) return MappedBase() == base;
    // The executable is the image: it can only be had where the loader put the executable.
    auto image = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
    if (reinterpret_cast<uintptr_t>(image) != base) return false;
    const IMAGE_SECTION_HEADER* section = FindGameSection(image);
    if (!section || section->VirtualAddress != kGameSectionOffset ||
        section->Misc.VirtualSize < kGameImageSize - kGameSectionOffset)
        return false;
    DWORD previous = 0;
    void* start = reinterpret_cast<void*>(static_cast<uintptr_t>(base + kGameSectionOffset));
    if (!VirtualProtect(start, kGameImageSize - kGameSectionOffset, PAGE_EXECUTE_READWRITE,
                        &previous))
        return false;
    MappedBase() = base;
    return true;
}

}  // namespace sim
