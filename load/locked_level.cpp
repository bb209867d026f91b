#include "locked_level.h"

#include <cstring>

void CopyRowsIntoLevel(const LockedLevel& level, const uint8_t* source, size_t sourcePitch) {
    const size_t rowBytes = static_cast<size_t>(level.width) * 4;
    MoveLevelRows(level, [&](RwUInt8* at, uint32_t firstRow, uint32_t rows) {
        const uint8_t* from = source + firstRow * sourcePitch;
        if (sourcePitch == rowBytes) {
            std::memcpy(at, from, rowBytes * rows);
        } else {
            for (uint32_t r = 0; r < rows; ++r)
                std::memcpy(at + r * level.stride, from + r * sourcePitch, rowBytes);
        }
        return true;
    });
}
