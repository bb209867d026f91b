#include "mip_cache.h"

#include <cstring>

#include "../platform/file_handle.h"
#include "locked_level.h"
#include "mip_chain.h"
#include "owned_raster.h"
#include "rw_bridge.h"

namespace {

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

// Moves every level between the file and the raster in ascending order; `move(at, bytes)`
// reads or writes one run of rows.
template <class Move>
LevelAccess MoveChain(RwRaster* raster, uint32_t width, uint32_t height, uint32_t levelCount,
                      RwInt32 lockMode, Move move) {
    for (uint32_t i = 0; i < levelCount; ++i) {
        LevelAccess access = WithLockedLevel(
            raster, i, MipLevelSize(width, i), MipLevelSize(height, i), lockMode,
            [&](const LockedLevel& level) {
                return MoveLevelRows(level, [&](RwUInt8* at, uint32_t, uint32_t rows) {
                    const uint64_t bytes = RowBytes(level.width) * rows;
                    return bytes <= UINT32_MAX && move(at, static_cast<DWORD>(bytes));
                });
            });
        if (access != LevelAccess::Done) return access;
    }
    return LevelAccess::Done;
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

bool ReadSourceAttributes(const char* filePath, SourceAttributes& out) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!filePath || !GetFileAttributesExA(filePath, GetFileExInfoStandard, &data)) return false;
    out = {data.ftLastWriteTime, data.nFileSizeLow, data.nFileSizeHigh};
    return true;
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

MipCacheVerdict CheckMipCacheHeader(const MipCacheHeader& h, const SourceAttributes& source,
                                    uint32_t width, uint32_t height, bool useMipmaps,
                                    uint32_t maxMipLevels) {
    if (h.magic != kMipCacheMagic) return MipCacheVerdict::BadMagic;
    if (h.version != kMipCacheVersion) return MipCacheVerdict::BadVersion;
    if (h.width != width || h.height != height) return MipCacheVerdict::WrongSize;
    if (h.sourceWriteTimeLow != source.lastWrite.dwLowDateTime ||
        h.sourceWriteTimeHigh != source.lastWrite.dwHighDateTime ||
        h.sourceSizeLow != source.sizeLow || h.sourceSizeHigh != source.sizeHigh)
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
        case MipCacheVerdict::Valid:
            return "valid";
        case MipCacheVerdict::NotLookedUp:
            return "not looked up";
        case MipCacheVerdict::NoSource:
            return "source file missing";
        case MipCacheVerdict::NoFile:
            return "no cache file";
        case MipCacheVerdict::Unreadable:
            return "unreadable or shorter than its header";
        case MipCacheVerdict::BadMagic:
            return "not a mip cache file (magic)";
        case MipCacheVerdict::BadVersion:
            return "unknown version";
        case MipCacheVerdict::WrongSize:
            return "size differs from the request";
        case MipCacheVerdict::SourceChanged:
            return "source changed since it was cached";
        case MipCacheVerdict::WrongLevels:
            return "level count does not fit the request";
        case MipCacheVerdict::WrongFlags:
            return "raster flags do not fit the level count";
        case MipCacheVerdict::WrongDataSize:
            return "data size does not fit the levels";
        case MipCacheVerdict::RasterRefused:
            return "raster refused by the engine";
        case MipCacheVerdict::LevelNotLocked:
            return "a level could not be locked";
        case MipCacheVerdict::ShortData:
            return "shorter than its levels";
        case MipCacheVerdict::TextureRefused:
            return "texture refused by the engine";
    }
    return "unknown";
}

RwRaster* LoadMipCacheToRwRaster(const SourceAttributes& source, const char* cachePath,
                                 uint32_t width, uint32_t height, bool useMipmaps,
                                 uint32_t maxMipLevels, MipCacheVerdict& verdict) {
    verdict = MipCacheVerdict::NoFile;
    if (!cachePath || width == 0 || height == 0) return nullptr;
    FileHandle file(OpenSharedFile(cachePath, GENERIC_READ, OPEN_EXISTING));
    if (!file.IsOpen()) return nullptr;
    uint8_t bytes[kMipCacheHeaderSize];
    verdict = MipCacheVerdict::Unreadable;
    if (!file.ReadExact(bytes, sizeof bytes)) return nullptr;
    const MipCacheHeader header = DecodeMipCacheHeader(bytes);
    verdict = CheckMipCacheHeader(header, source, width, height, useMipmaps, maxMipLevels);
    if (verdict != MipCacheVerdict::Valid) return nullptr;

    OwnedRaster raster(RwRasterCreate(static_cast<RwInt32>(width), static_cast<RwInt32>(height),
                                      32, static_cast<RwInt32>(header.rasterFlags)));
    if (!raster.Get()) {
        verdict = MipCacheVerdict::RasterRefused;
        return nullptr;
    }
    const LevelAccess read =
        MoveChain(raster.Get(), width, height, header.levelCount, rwRASTERLOCKWRITE,
                  [&](RwUInt8* at, DWORD size) { return file.ReadExact(at, size); });
    if (read != LevelAccess::Done) {
        verdict = read == LevelAccess::NotLocked ? MipCacheVerdict::LevelNotLocked
                                                 : MipCacheVerdict::ShortData;
        return nullptr;
    }
    return raster.Release();
}

bool SaveRwRasterToMipCache(const char* cachePath, const SourceAttributes& source, RwRaster* raster,
                            uint32_t width, uint32_t height, uint32_t levelCount,
                            RwInt32 rasterFlags) {
    if (!raster || !cachePath || width == 0 || height == 0 || levelCount == 0) return false;
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

    uint8_t bytes[kMipCacheHeaderSize];
    EncodeMipCacheHeader(header, bytes);
    bool written = false;
    try {
        written = file.WriteExact(bytes, sizeof bytes) &&
                  MoveChain(raster, width, height, levelCount, rwRASTERLOCKREAD,
                            [&](RwUInt8* at, DWORD size) { return file.WriteExact(at, size); }) ==
                      LevelAccess::Done;
    } catch (...) {
        // A file cut short by a load given up would be read back as a miss every time.
        file.Close();
        DeleteFileA(cachePath);
        throw;
    }
    if (!written) {
        file.Close();
        DeleteFileA(cachePath);
    }
    return written;
}
