#include "pe_image.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "platform/utf8_from_utf16.h"

namespace {

constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kVersionResourceType = 16;
constexpr uint32_t kLargestImageFile = 256u << 20;  // every game program is far smaller
constexpr int kResourceDepth = 3;                   // type, name, language

struct Reader {
    const std::vector<uint8_t>& bytes;

    bool Has(uint64_t offset, uint64_t size) const { return offset + size <= bytes.size(); }
    uint16_t U16(uint64_t offset) const {
        return Has(offset, 2) ? static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8) : 0;
    }
    uint32_t U32(uint64_t offset) const {
        return Has(offset, 4) ? uint32_t(U16(offset)) | uint32_t(U16(offset + 2)) << 16 : 0;
    }
};

// The file offset of `size` bytes at a relative address, when one section holds them on disk.
std::optional<uint64_t> FileOffset(const PeImage& image, uint32_t relative, uint32_t size) {
    for (const PeSection& s : image.sections) {
        if (relative < s.virtualAddress) continue;
        const uint64_t into = uint64_t{relative} - s.virtualAddress;
        if (into + size <= s.rawSize && uint64_t{s.rawOffset} + into + size <= image.bytes.size())
            return s.rawOffset + into;
    }
    return std::nullopt;
}

// The text up to its terminator or the block's end, as UTF-8; empty when it is not UTF-16.
std::string Utf16Text(const Reader& r, uint64_t offset, uint64_t end, uint64_t& after) {
    std::u16string units;
    while (offset + 2 <= end && r.Has(offset, 2)) {
        const char16_t unit = static_cast<char16_t>(r.U16(offset));
        offset += 2;
        if (unit == 0) break;
        units += unit;
    }
    after = offset;
    std::string text;
    return unicode::Utf8FromUtf16(units.c_str(), text) ? text : std::string();
}

uint64_t Align4(uint64_t offset) { return (offset + 3) & ~uint64_t{3}; }

// One block of a version resource: its key, where its value and its children start, its end.
struct VersionBlock {
    std::string key;
    uint64_t value = 0;
    uint16_t valueLength = 0;  // in words for text values
    uint64_t children = 0;
    uint64_t end = 0;
};

bool ReadBlock(const Reader& r, uint64_t offset, uint64_t limit, VersionBlock& block) {
    const uint16_t length = r.U16(offset);
    if (length < 6 || offset + length > limit || !r.Has(offset, length)) return false;
    block.end = offset + length;
    block.valueLength = r.U16(offset + 2);
    const bool text = r.U16(offset + 4) == 1;
    uint64_t after = 0;
    block.key = Utf16Text(r, offset + 6, block.end, after);
    block.value = Align4(after);
    block.children = Align4(block.value + uint64_t{block.valueLength} * (text ? 2 : 1));
    return true;
}

// Follows the first entry of each level of the resource tree below the type, to the data.
std::optional<uint64_t> VersionData(const PeImage& image, uint32_t& size) {
    const Reader r{image.bytes};
    const std::optional<uint64_t> root = FileOffset(image, image.resourceAddress, 16);
    if (!root || image.resourceAddress == 0) return std::nullopt;
    uint64_t directory = *root;
    for (int level = 0; level < kResourceDepth; ++level) {
        const uint32_t entries = uint32_t{r.U16(directory + 12)} + r.U16(directory + 14);
        uint32_t next = 0;
        bool found = false;
        for (uint32_t i = 0; i < entries && !found; ++i) {
            const uint64_t entry = directory + 16 + uint64_t{i} * 8;
            if (!r.Has(entry, 8)) return std::nullopt;
            found = level != 0 || r.U32(entry) == kVersionResourceType;
            next = r.U32(entry + 4);
        }
        if (!found) return std::nullopt;
        const bool isDirectory = (next & 0x80000000u) != 0;
        if (isDirectory != (level + 1 < kResourceDepth)) return std::nullopt;
        directory = *root + (next & 0x7FFFFFFFu);
        if (!r.Has(directory, 16)) return std::nullopt;
    }
    size = r.U32(directory + 4);
    return FileOffset(image, r.U32(directory), size);
}

}  // namespace

bool ReadPeImage(const std::string& path, PeImage& image, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot be read";
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0 || length > kLargestImageFile) {
        error = "is too large to be a game file";
        return false;
    }
    file.seekg(0);
    return ParsePeImage(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()),
                        image, error);
}

bool ParsePeImage(std::vector<uint8_t> bytes, PeImage& image, std::string& error) {
    image = PeImage{};
    image.bytes = std::move(bytes);
    const Reader r{image.bytes};
    const uint32_t header = r.U32(0x3C);
    if (r.U16(0) != 0x5A4D || !r.Has(header, 24) || r.U32(header) != 0x00004550) {
        error = "is not a Windows program";
        return false;
    }
    const uint16_t sectionCount = r.U16(header + 6);
    const uint16_t optionalSize = r.U16(header + 20);
    const uint64_t optional = header + 24;
    if (r.U16(optional) != 0x10B || !r.Has(optional, optionalSize) || optionalSize < 96) {
        error = "is not a 32-bit Windows program";
        return false;
    }
    image.imageBase = r.U32(optional + 28);
    const uint32_t directories = r.U32(optional + 92);
    if (directories > kResourceDirectoryIndex && optionalSize >= 96 + 8 * (kResourceDirectoryIndex + 1)) {
        image.resourceAddress = r.U32(optional + 96 + 8 * kResourceDirectoryIndex);
        image.resourceSize = r.U32(optional + 100 + 8 * kResourceDirectoryIndex);
    }
    const uint64_t table = optional + optionalSize;
    if (!r.Has(table, uint64_t{sectionCount} * 40)) {
        error = "has a cut section table";
        return false;
    }
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t s = table + uint64_t{i} * 40;
        image.sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
    }
    return true;
}

std::optional<uint32_t> ReadImageDword(const PeImage& image, uint32_t relativeAddress) {
    const std::optional<uint64_t> offset = FileOffset(image, relativeAddress, 4);
    if (!offset) return std::nullopt;
    return Reader{image.bytes}.U32(*offset);
}

std::map<std::string, std::string> VersionStrings(const PeImage& image) {
    std::map<std::string, std::string> strings;
    uint32_t size = 0;
    const std::optional<uint64_t> data = VersionData(image, size);
    if (!data) return strings;
    const Reader r{image.bytes};
    VersionBlock root;
    if (!ReadBlock(r, *data, *data + size, root) || root.key != "VS_VERSION_INFO") return strings;
    for (uint64_t at = root.children; at < root.end;) {
        VersionBlock child;
        if (!ReadBlock(r, at, root.end, child)) break;
        if (child.key == "StringFileInfo") {
            VersionBlock table;
            if (!ReadBlock(r, child.children, child.end, table)) break;
            for (uint64_t s = table.children; s < table.end;) {
                VersionBlock entry;
                if (!ReadBlock(r, s, table.end, entry)) break;
                uint64_t ignored = 0;
                strings[entry.key] = Utf16Text(r, entry.value, entry.end, ignored);
                s = Align4(entry.end);
            }
            return strings;
        }
        at = Align4(child.end);
    }
    return strings;
}
