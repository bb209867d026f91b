#include "png_writer.h"

#include <cstdio>

namespace sim {
namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    PutBe32(out, static_cast<uint32_t>(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, Crc32(typed.data(), typed.size()));
}

// zlib stream of stored blocks (at most 65535 bytes each) with its Adler-32 trailer.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t n = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        bool last = offset + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + offset, raw.begin() + offset + n);
        offset += n;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);
    return z;
}

}  // namespace

bool WritePngFromBgra(const std::string& path, uint32_t width, uint32_t height,
                      const std::vector<uint8_t>& bgra) {
    if (width == 0 || height == 0 || bgra.size() < size_t(width) * height * 4) return false;
    std::vector<uint8_t> raw;
    raw.reserve((size_t(width) * 4 + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type none
        const uint8_t* row = bgra.data() + size_t(y) * width * 4;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = row + size_t(x) * 4;
            raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    std::vector<uint8_t> header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok;
}

}  // namespace sim
