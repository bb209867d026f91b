// Arbitrary bytes as a game program or plug-in DLL, read as `tessivo check` reads a player's
// files: the headers, a probe at every game's signature addresses, and the version strings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/tessivo/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PeImage image;
    std::string error;
    if (!ParsePeImage(std::vector<uint8_t>(data, data + size), image, error)) return 0;
    for (uint32_t address : {0x1000u, 0x1C1E70u, 0x267C40u, 0x458D51u, 0xFFFFFFFEu})
        (void)ReadImageDword(image, address);
    (void)VersionStrings(image);
    return 0;
}
