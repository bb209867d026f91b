#include "locked_level.h"

#include <cstring>

void CopyRowsIntoLevel(const LockedLevel& level, const uint8_t* source, size_t sourcePitch) {
    const size_t rowBytes = static_cast<size_t>(RowBytes(level.width));
    MoveLevelRows(level, [&](RwUInt8* at, uint32_t firstRow, uint32_t rows) {
        const uint8_t* from = source + static_cast<size_t>(uint64_t{firstRow} * sourcePitch);
        if (sourcePitch == rowBytes) {
            std::memcpy(at, from, static_cast<size_t>(uint64_t{rowBytes} * rows));
        } else {
            for (uint32_t r = 0; r < rows; ++r)
                std::memcpy(at + static_cast<size_t>(uint64_t{r} * level.stride),
                            from + static_cast<size_t>(uint64_t{r} * sourcePitch), rowBytes);
        }
        return true;
    });
}
