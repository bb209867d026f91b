// One locked raster level seen as rows of 4-byte pixels, and the one way rows move in or out of it:
// the decoder, the SVG renderer and the cache all go through here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "level_size.h"
#include "rw_bridge.h"

struct LockedLevel {
    RwUInt8* pixels;  // first row of the level
    size_t stride;    // bytes from one row to the next, never less than width * 4
    uint32_t width;   // pixels per row
    uint32_t height;  // rows
};

enum class LevelAccess {
    Done,       // the level was locked and `use` succeeded
    NotLocked,  // no pixels, or rows further apart than the engine's stride allows
    NotFilled,  // locked, but `use` failed
};

// Locks `level` (width x height) with `lockMode`, hands it to `use`, and unlocks it. A stride
// shorter than a row would make rows overlap, and rows that together span more than the process
// can address cannot all be there: such a level is unlocked at once, unused.
template <class Use>
LevelAccess WithLockedLevel(RwRaster* raster, uint32_t level, uint32_t width, uint32_t height,
                            RwInt32 lockMode, Use use) {
    RwUInt8* pixels = RwRasterLock(raster, level, lockMode);
    if (!pixels) return LevelAccess::NotLocked;
    const uint64_t rowBytes = RowBytes(width);
    if (raster->stride < 0 || static_cast<uint64_t>(raster->stride) < rowBytes ||
        !FitsInAddressSpace(LevelSpan(static_cast<uint64_t>(raster->stride), height, rowBytes))) {
        RwRasterUnlock(raster);
        return LevelAccess::NotLocked;
    }
    const LockedLevel locked{pixels, static_cast<size_t>(raster->stride), width, height};
    const bool used = use(locked);
    RwRasterUnlock(raster);
    return used ? LevelAccess::Done : LevelAccess::NotFilled;
}

// Hands the level's rows to `move(at, firstRow, rowCount)` in runs: the whole level in one run when
// its rows are packed, else one row at a time. Offsets stay within the span WithLockedLevel
// checked. Stops at the first run `move` refuses.
template <class Move>
bool MoveLevelRows(const LockedLevel& level, Move move) {
    if (level.stride == RowBytes(level.width)) return move(level.pixels, uint32_t{0}, level.height);
    for (uint32_t r = 0; r < level.height; ++r)
        if (!move(level.pixels + static_cast<size_t>(uint64_t{r} * level.stride), r, uint32_t{1}))
            return false;
    return true;
}

// Copies width * 4 bytes of each row from `source`, whose rows lie `sourcePitch` bytes apart.
void CopyRowsIntoLevel(const LockedLevel& level, const uint8_t* source, size_t sourcePitch);
