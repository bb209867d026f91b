// A Windows program or DLL read from disk, enough to tell which game and which build it is:
// code bytes at a game address through the section table, and the version resource's strings.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct PeSection {
    uint32_t virtualAddress;  // relative to the image base
    uint32_t virtualSize;
    uint32_t rawOffset;  // in the file
    uint32_t rawSize;
};

struct PeImage {
    uint32_t imageBase = 0;
    uint32_t resourceAddress = 0;  // relative; 0 when there is no resource directory
    uint32_t resourceSize = 0;
    std::vector<PeSection> sections;
    std::vector<uint8_t> bytes;  // the whole file
};

// False, saying why, when the file cannot be read or is not a 32-bit Windows image.
bool ReadPeImage(const std::string& path, PeImage& image, std::string& error);
// The same for the file's bytes.
bool ParsePeImage(std::vector<uint8_t> bytes, PeImage& image, std::string& error);

// The four bytes at `address`, counted from the image base, little-endian; none when no
// section holds them in the file.
std::optional<uint32_t> ReadImageDword(const PeImage& image, uint32_t relativeAddress);

// The first string table of the version resource: "ProductName", "FileVersion" and the rest.
// Empty when there is none or it is malformed.
std::map<std::string, std::string> VersionStrings(const PeImage& image);
