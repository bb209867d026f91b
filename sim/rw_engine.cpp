#include "rw_engine.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "game_image.h"

namespace sim {
namespace {

constexpr uint8_t kPaddingByte = 0xCD;   // between rows; must survive every load
constexpr uint8_t kUnfilledByte = 0x5A;  // what a new raster holds before anyone writes

struct SimRaster {
    RwRaster rw;  // first, so the engine's pointer and ours are the same address
    RwInt32 flags;
    uint32_t rowPadding;
    std::vector<std::vector<uint8_t>> levels;  // each level height * stride bytes
    int lockedLevel = -1;
};

struct SimTexture {
    RwTexture rw;
    uint32_t creationIndex;
};

struct EngineState {
    RwEngineSettings settings;
    std::vector<RwCall> log;
    std::vector<std::unique_ptr<SimRaster>> rasters;
    std::vector<std::unique_ptr<SimTexture>> textures;
    uint32_t texturesCreated = 0;
    int failAfter[static_cast<int>(RwOp::Count)];
    EngineState() { std::fill(std::begin(failAfter), std::end(failAfter), -1); }
};

// Never destroyed: the plug-ins' static sprites hand their textures back as the process ends.
EngineState& State() {
    static auto* state = new EngineState;
    return *state;
}

bool ConsumeFailure(RwOp op) {
    int& left = State().failAfter[static_cast<int>(op)];
    if (left < 0) return false;
    if (left == 0) {
        left = -1;
        return true;
    }
    --left;
    return false;
}

SimRaster* Find(const RwRaster* raster) {
    for (auto& r : State().rasters)
        if (&r->rw == raster) return r.get();
    return nullptr;
}

uint32_t LevelSize(int32_t size, uint32_t level) {
    uint32_t s = level >= 32 ? 0 : static_cast<uint32_t>(size) >> level;
    return s == 0 ? 1 : s;
}

uint32_t StrideOf(const SimRaster& r, uint32_t level) {
    return LevelSize(r.rw.width, level) * 4 + r.rowPadding;
}

void Log(RwCall call) { State().log.push_back(call); }

}  // namespace

void InstallRwEngine(const games::HostRwFunctions& table) {
    WriteJumpToRoutine(table.rasterCreate, reinterpret_cast<const void*>(&SimRwRasterCreate));
    WriteJumpToRoutine(table.rasterDestroy, reinterpret_cast<const void*>(&SimRwRasterDestroy));
    WriteJumpToRoutine(table.rasterLock, reinterpret_cast<const void*>(&SimRwRasterLock));
    WriteJumpToRoutine(table.rasterUnlock, reinterpret_cast<const void*>(&SimRwRasterUnlock));
    WriteJumpToRoutine(table.textureCreate, reinterpret_cast<const void*>(&SimRwTextureCreate));
}

void ResetRwEngine() { State() = EngineState(); }

void ConfigureRwEngine(const RwEngineSettings& settings) { State().settings = settings; }

void FailRwOp(RwOp op, int successesFirst) {
    State().failAfter[static_cast<int>(op)] = successesFirst;
}

const std::vector<RwCall>& RwCallLog() { return State().log; }
void ClearRwCallLog() { State().log.clear(); }

int CountRwCalls(RwOp op) {
    return static_cast<int>(std::count_if(State().log.begin(), State().log.end(),
                                          [op](const RwCall& c) { return c.op == op; }));
}

int LiveRasters() { return static_cast<int>(State().rasters.size()); }
int LiveTextures() { return static_cast<int>(State().textures.size()); }

uint32_t RasterLevelCount(const RwRaster* raster) {
    const SimRaster* r = Find(raster);
    return r ? static_cast<uint32_t>(r->levels.size()) : 0;
}
uint32_t RasterLevelWidth(const RwRaster* raster, uint32_t level) {
    return LevelSize(raster->width, level);
}
uint32_t RasterLevelHeight(const RwRaster* raster, uint32_t level) {
    return LevelSize(raster->height, level);
}
RwInt32 RasterFlags(const RwRaster* raster) {
    const SimRaster* r = Find(raster);
    return r ? r->flags : 0;
}

std::vector<uint8_t> RasterLevelPixels(const RwRaster* raster, uint32_t level) {
    const SimRaster* r = Find(raster);
    if (!r || level >= r->levels.size()) return {};
    uint32_t rowBytes = LevelSize(raster->width, level) * 4;
    uint32_t rows = LevelSize(raster->height, level);
    uint32_t stride = StrideOf(*r, level);
    std::vector<uint8_t> packed(static_cast<size_t>(rowBytes) * rows);
    for (uint32_t y = 0; y < rows; ++y)
        std::memcpy(packed.data() + static_cast<size_t>(y) * rowBytes,
                    r->levels[level].data() + static_cast<size_t>(y) * stride, rowBytes);
    return packed;
}

bool RasterPaddingIntact(const RwRaster* raster) {
    const SimRaster* r = Find(raster);
    if (!r) return false;
    for (uint32_t level = 0; level < r->levels.size(); ++level) {
        uint32_t rowBytes = LevelSize(raster->width, level) * 4;
        uint32_t stride = StrideOf(*r, level);
        const auto& bytes = r->levels[level];
        for (size_t y = 0; y * stride < bytes.size(); ++y)
            for (uint32_t x = rowBytes; x < stride; ++x)
                if (bytes[y * stride + x] != kPaddingByte) return false;
    }
    return true;
}

uint32_t TextureCreationIndex(const RwTexture* texture) {
    for (const auto& t : State().textures)
        if (&t->rw == texture) return t->creationIndex;
    return 0;
}

void DestroyTexture(RwTexture* texture) {
    auto& textures = State().textures;
    auto it = std::find_if(textures.begin(), textures.end(),
                           [texture](const auto& t) { return &t->rw == texture; });
    if (it == textures.end()) return;
    RwRaster* raster = (*it)->rw.raster;
    textures.erase(it);
    SimRwRasterDestroy(raster);
}

RwRaster* __cdecl SimRwRasterCreate(RwInt32 width, RwInt32 height, RwInt32 depth, RwInt32 flags) {
    RwCall call{RwOp::RasterCreate, nullptr, width, height, depth, flags, 0, 0, true};
    uint64_t bytes = width > 0 && height > 0 ? uint64_t(width) * uint64_t(height) * 4 : 0;
    if (ConsumeFailure(RwOp::RasterCreate) || bytes == 0 || bytes > kMaxRasterBytes ||
        depth != 32) {
        Log(call);
        return nullptr;
    }
    auto raster = std::make_unique<SimRaster>();
    std::memset(&raster->rw, 0, sizeof raster->rw);
    raster->rw.width = width;
    raster->rw.height = height;
    raster->rw.depth = depth;
    raster->rw.cType = static_cast<RwUInt8>(flags & 0x07);
    raster->rw.cFormat = static_cast<RwUInt8>((flags >> 8) & 0xFF);
    raster->flags = flags;
    raster->rowPadding = State().settings.rowPadding;

    uint32_t levelCount = 1;
    if (flags & rwRASTERFORMATMIPMAP)
        for (uint32_t side = static_cast<uint32_t>(std::max(width, height)); side > 1; side >>= 1)
            ++levelCount;
    for (uint32_t level = 0; level < levelCount; ++level) {
        uint32_t stride = StrideOf(*raster, level);
        uint32_t rowBytes = LevelSize(width, level) * 4;
        std::vector<uint8_t> storage(static_cast<size_t>(stride) * LevelSize(height, level),
                                     kUnfilledByte);
        for (size_t y = 0; y * stride < storage.size(); ++y)
            std::memset(storage.data() + y * stride + rowBytes, kPaddingByte, stride - rowBytes);
        raster->levels.push_back(std::move(storage));
    }
    RwRaster* created = &raster->rw;
    call.raster = created;
    call.failed = false;
    Log(call);
    State().rasters.push_back(std::move(raster));
    return created;
}

RwBool __cdecl SimRwRasterDestroy(RwRaster* raster) {
    Log({RwOp::RasterDestroy, raster, 0, 0, 0, 0, 0, 0, false});
    auto& rasters = State().rasters;
    auto it = std::find_if(rasters.begin(), rasters.end(),
                           [raster](const auto& r) { return &r->rw == raster; });
    if (it == rasters.end()) return 0;
    rasters.erase(it);
    return 1;
}

RwUInt8* __cdecl SimRwRasterLock(RwRaster* raster, RwUInt32 level, RwInt32 lockMode) {
    RwCall call{RwOp::RasterLock, raster, 0, 0, 0, 0, level, lockMode, true};
    SimRaster* r = Find(raster);
    // One level at a time, as the engine allows.
    if (ConsumeFailure(RwOp::RasterLock) || !r || level >= r->levels.size() ||
        r->lockedLevel >= 0) {
        Log(call);
        return nullptr;
    }
    r->lockedLevel = static_cast<int>(level);
    r->rw.stride = static_cast<RwInt32>(StrideOf(*r, level)) -
                   (State().settings.strideShortOfARow ? 4 : 0);
    r->rw.cpPixels = r->levels[level].data();
    call.failed = false;
    Log(call);
    return r->rw.cpPixels;
}

RwRaster* __cdecl SimRwRasterUnlock(RwRaster* raster) {
    Log({RwOp::RasterUnlock, raster, 0, 0, 0, 0, 0, 0, false});
    if (SimRaster* r = Find(raster)) {
        r->lockedLevel = -1;
        r->rw.cpPixels = nullptr;
    }
    return raster;
}

RwTexture* __cdecl SimRwTextureCreate(RwRaster* raster) {
    RwCall call{RwOp::TextureCreate, raster, 0, 0, 0, 0, 0, 0, true};
    if (ConsumeFailure(RwOp::TextureCreate) || !Find(raster)) {
        Log(call);
        return nullptr;
    }
    auto texture = std::make_unique<SimTexture>();
    std::memset(&texture->rw, 0, sizeof texture->rw);
    texture->rw.raster = raster;
    texture->rw.filterAddressing = kInitialFilterAddressing;
    texture->rw.refCount = 1;
    texture->creationIndex = ++State().texturesCreated;
    call.failed = false;
    Log(call);
    State().textures.push_back(std::move(texture));
    return &State().textures.back()->rw;
}

}  // namespace sim
