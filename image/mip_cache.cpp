#include "mip_cache.h"

#include <cstring>

#include "../platform/file_handle.h"
#include "mip_chain.h"
#include "rw_bridge.h"

namespace {

struct SourceAttributes {
    FILETIME lastWrite;
    DWORD sizeLow;
    DWORD sizeHigh;
};

bool ReadSourceAttributes(const char* filePath, SourceAttributes& out) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(filePath, GetFileExInfoStandard, &data)) return false;
    out = {data.ftLastWriteTime, data.nFileSizeLow, data.nFileSizeHigh};
    return true;
}

void PutLe32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetLe32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

HANDLE OpenSharedFile(const char* path, DWORD access, DWORD disposition) {
    return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Moves one locked level between the file and the raster: one transfer when rows are packed,
// else row by row at the raster's stride.
template <class Transfer>
bool TransferLevel(RwRaster* raster, RwUInt8* pixels, uint32_t rowBytes, uint32_t rows,
                   Transfer transfer) {
    if (static_cast<uint32_t>(raster->stride) == rowBytes) return transfer(pixels, rowBytes * rows);
    for (uint32_t r = 0; r < rows; ++r)
        if (!transfer(pixels + static_cast<size_t>(r) * raster->stride, rowBytes)) return false;
    return true;
}

}  // namespace

void EncodeMipCacheHeader(const MipCacheHeader& h, uint8_t (&bytes)[kMipCacheHeaderSize]) {
    const uint32_t fields[] = {h.magic,         h.version,        h.sourceWriteTimeLow,
                               h.sourceWriteTimeHigh, h.sourceSizeLow, h.sourceSizeHigh,
                               h.width,         h.height,         h.levelCount,
                               h.rasterFlags,   h.dataSize};
    static_assert(sizeof(fields) == kMipCacheHeaderSize);
    for (size_t i = 0; i < 11; ++i) PutLe32(bytes + 4 * i, fields[i]);
}

MipCacheHeader DecodeMipCacheHeader(const uint8_t (&bytes)[kMipCacheHeaderSize]) {
    MipCacheHeader h;
    uint32_t* fields[] = {&h.magic,         &h.version,        &h.sourceWriteTimeLow,
                          &h.sourceWriteTimeHigh, &h.sourceSizeLow, &h.sourceSizeHigh,
                          &h.width,         &h.height,         &h.levelCount,
                          &h.rasterFlags,   &h.dataSize};
    for (size_t i = 0; i < 11; ++i) *fields[i] = GetLe32(bytes + 4 * i);
    return h;
}

std::string MakeMipCachePath(const char* filePath, uint32_t width, uint32_t height) {
    std::string source = filePath ? filePath : "";
    size_t split = source.find_last_of("\\/");
    std::string directory = split == std::string::npos ? "." : source.substr(0, split);
    std::string name = split == std::string::npos ? source : source.substr(split + 1);

    std::string cacheDirectory = directory + "\\.mipcache";
    CreateDirectoryA(cacheDirectory.c_str(), nullptr);
    return cacheDirectory + "\\" + name + "_" + std::to_string(width) + "x" +
           std::to_string(height) + ".mipmap";
}

MipCacheVerdict CheckMipCacheHeader(const MipCacheHeader& h, const FILETIME& sourceTime,
                                    uint32_t sourceSizeLow, uint32_t sourceSizeHigh,
                                    uint32_t width, uint32_t height, bool useMipmaps,
                                    uint32_t maxMipLevels) {
    if (h.magic != kMipCacheMagic) return MipCacheVerdict::BadMagic;
    if (h.version != kMipCacheVersion) return MipCacheVerdict::BadVersion;
    if (h.width != width || h.height != height) return MipCacheVerdict::WrongSize;
    if (h.sourceWriteTimeLow != sourceTime.dwLowDateTime ||
        h.sourceWriteTimeHigh != sourceTime.dwHighDateTime || h.sourceSizeLow != sourceSizeLow ||
        h.sourceSizeHigh != sourceSizeHigh)
        return MipCacheVerdict::SourceChanged;
    if (h.levelCount == 0) return MipCacheVerdict::WrongLevels;
    if (useMipmaps) {
        if (h.levelCount == 1 && (width > 1 || height > 1)) return MipCacheVerdict::WrongLevels;
    } else if (h.levelCount != 1) {
        return MipCacheVerdict::WrongLevels;
    }
    // A request for three levels must never be handed a seven-level chain, nor the reverse.
    MipChain wanted = ComputeMipChain(width, height, useMipmaps, maxMipLevels);
    if (h.levelCount != wanted.levelCount) return MipCacheVerdict::WrongLevels;
    RwInt32 flags = h.levelCount > 1 ? kRasterFlagsMipChain : kRasterFlagsSingleLevel;
    if (h.rasterFlags != static_cast<uint32_t>(flags)) return MipCacheVerdict::WrongFlags;
    if (h.dataSize != MipChainDataSize(width, height, h.levelCount))
        return MipCacheVerdict::WrongDataSize;
    return MipCacheVerdict::Valid;
}

const char* MipCacheVerdictText(MipCacheVerdict verdict) {
    switch (verdict) {
        case MipCacheVerdict::Valid: return "valid";
        case MipCacheVerdict::NoSource: return "source file missing";
        case MipCacheVerdict::Unreadable: return "unreadable or shorter than its header";
        case MipCacheVerdict::BadMagic: return "not a mip cache file (magic)";
        case MipCacheVerdict::BadVersion: return "unknown version";
        case MipCacheVerdict::WrongSize: return "size differs from the request";
        case MipCacheVerdict::SourceChanged: return "source changed since it was cached";
        case MipCacheVerdict::WrongLevels: return "level count does not fit the request";
        case MipCacheVerdict::WrongFlags: return "raster flags do not fit the level count";
        case MipCacheVerdict::WrongDataSize: return "data size does not fit the levels";
    }
    return "unknown";
}

RwTexture* LoadMipCacheToRwTexture(const char* filePath, const char* cachePath, uint32_t width,
                                   uint32_t height, bool useMipmaps, uint32_t maxMipLevels) {
    if (!filePath || !cachePath || width == 0 || height == 0) return nullptr;
    SourceAttributes source;
    if (!ReadSourceAttributes(filePath, source)) return nullptr;

    FileHandle file(OpenSharedFile(cachePath, GENERIC_READ, OPEN_EXISTING));
    if (!file.IsOpen()) return nullptr;
    uint8_t bytes[kMipCacheHeaderSize];
    if (!file.ReadExact(bytes, sizeof bytes)) return nullptr;
    MipCacheHeader header = DecodeMipCacheHeader(bytes);
    if (CheckMipCacheHeader(header, source.lastWrite, source.sizeLow, source.sizeHigh, width,
                            height, useMipmaps, maxMipLevels) != MipCacheVerdict::Valid)
        return nullptr;

    RwRaster* raster = RwRasterCreate(static_cast<RwInt32>(width), static_cast<RwInt32>(height),
                                      32, static_cast<RwInt32>(header.rasterFlags));
    if (!raster) return nullptr;
    for (uint32_t i = 0; i < header.levelCount; ++i) {
        RwUInt8* pixels = RwRasterLock(raster, i, rwRASTERLOCKWRITE);
        if (!pixels) {
            RwRasterDestroy(raster);
            return nullptr;
        }
        bool read = TransferLevel(raster, pixels, MipLevelSize(width, i) * 4,
                                  MipLevelSize(height, i), [&](RwUInt8* at, uint32_t size) {
                                      return file.ReadExact(at, size);
                                  });
        RwRasterUnlock(raster);
        if (!read) {
            RwRasterDestroy(raster);
            return nullptr;
        }
    }

    RwTexture* texture = RwTextureCreate(raster);
    if (!texture) {
        RwRasterDestroy(raster);
        return nullptr;
    }
    SetTextureFilterMode(texture, ChainFilterMode(header.levelCount, false));
    return texture;
}

bool SaveRwRasterToMipCache(const char* cachePath, const char* filePath, RwRaster* raster,
                            uint32_t width, uint32_t height, uint32_t levelCount,
                            RwInt32 rasterFlags) {
    if (!raster || !cachePath || !filePath || width == 0 || height == 0 || levelCount == 0)
        return false;
    SourceAttributes source;
    if (!ReadSourceAttributes(filePath, source)) return false;

    MipCacheHeader header{kMipCacheMagic,
                          kMipCacheVersion,
                          source.lastWrite.dwLowDateTime,
                          source.lastWrite.dwHighDateTime,
                          source.sizeLow,
                          source.sizeHigh,
                          width,
                          height,
                          levelCount,
                          static_cast<uint32_t>(rasterFlags),
                          MipChainDataSize(width, height, levelCount)};
    FileHandle file(OpenSharedFile(cachePath, GENERIC_WRITE, CREATE_ALWAYS));
    if (!file.IsOpen()) return false;

    auto abandon = [&] {
        file.Close();
        DeleteFileA(cachePath);
        return false;
    };
    uint8_t bytes[kMipCacheHeaderSize];
    EncodeMipCacheHeader(header, bytes);
    if (!file.WriteExact(bytes, sizeof bytes)) return abandon();

    for (uint32_t i = 0; i < levelCount; ++i) {
        RwUInt8* pixels = RwRasterLock(raster, i, rwRASTERLOCKREAD);
        if (!pixels) return abandon();
        bool written = TransferLevel(raster, pixels, MipLevelSize(width, i) * 4,
                                     MipLevelSize(height, i), [&](RwUInt8* at, uint32_t size) {
                                         return file.WriteExact(at, size);
                                     });
        RwRasterUnlock(raster);
        if (!written) return abandon();
    }
    return true;
}
