// ombrix cache: what a cache file holds and whether it still serves its source.
#include <cstdio>
#include <fstream>

#include "commands.h"
#include "load/mip_cache.h"

namespace {

// "<dir>/.mipcache/<name>_<W>x<H>.mipmap" belongs to "<dir>/<name>".
std::string SourceOfCacheFile(const std::string& cachePath) {
    size_t slash = cachePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? cachePath : cachePath.substr(slash + 1);
    std::string folder = slash == std::string::npos ? "." : cachePath.substr(0, slash);
    size_t underscore = name.rfind('_');
    if (underscore == std::string::npos) return {};
    size_t up = folder.find_last_of("\\/");
    std::string parent = up == std::string::npos ? "." : folder.substr(0, up);
    return parent + "/" + name.substr(0, underscore);
}

}  // namespace

int RunCacheCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) return Fail("cache needs exactly one FILE.mipmap");
    const std::string& path = args[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot read '" + path + "'");
    uint8_t bytes[kMipCacheHeaderSize];
    if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        return Fail("'" + path + "' is shorter than the 44-byte header");
    in.seekg(0, std::ios::end);
    unsigned long long fileSize = static_cast<unsigned long long>(in.tellg());
    MipCacheHeader h = DecodeMipCacheHeader(bytes);
    // Anything else (an image, say) has no header to print and no source to judge.
    if (h.magic != kMipCacheMagic)
        return Fail("'" + path + "' is not a mip cache file: it does not start with CPIM");

    std::printf("magic 0x%08X (CPIM)\n", h.magic);
    std::printf("version %u\n", h.version);
    std::printf("source time 0x%08X%08X\n", h.sourceWriteTimeHigh, h.sourceWriteTimeLow);
    std::printf("source size %llu\n",
                (static_cast<unsigned long long>(h.sourceSizeHigh) << 32) | h.sourceSizeLow);
    std::printf("size %ux%u\n", h.width, h.height);
    std::printf("levels %u\n", h.levelCount);
    std::printf("flags 0x%X\n", h.rasterFlags);
    std::printf("data %u bytes, file %llu bytes\n", h.dataSize, fileSize);

    std::string source = SourceOfCacheFile(path);
    std::printf("source %s\n", source.empty() ? "(not derivable from the name)" : source.c_str());
    MipCacheVerdict verdict = MipCacheVerdict::NoSource;
    SourceAttributes attributes{};
    if (!source.empty() && ReadSourceAttributes(source.c_str(), attributes)) {
        // Judged as the request that stored it would be: its own size and level count.
        verdict =
            CheckMipCacheHeader(h, attributes, h.width, h.height, h.levelCount > 1, h.levelCount);
        if (verdict == MipCacheVerdict::Valid && fileSize < kMipCacheHeaderSize + h.dataSize)
            verdict = MipCacheVerdict::ShortData;
    }
    std::printf("status %s\n", MipCacheVerdictText(verdict));
    return 0;
}
