// How a load ended, one value for each way, with what the cache said on the way. The exports hand
// out only null or a texture; tools and tests read the reason.
#pragma once

#include <cstdint>
#include <string>

#include "mip_cache.h"

enum class LoadStatus {
    Drawn,               // decoded or rendered; every level filled
    ServedFromCache,     // a cache file held the chain; the source was not drawn
    NoPath,              // null or empty path
    PathNotConvertible,  // no wide path fits from UTF-8 or the ANSI page
    NoSuchFile,          // the source does not exist
    Unreadable,          // the source exists but gives no bytes
    NotDecodable,        // no decoder takes the file, or its text does not parse
    ZeroSize,            // a side of the image, or of the settled size, is 0
    TooLarge,            // a side of the requested or settled size is beyond the texture limit
    FactoryUnavailable,  // the imaging factory could not be created
    DeviceUnavailable,   // the drawing device or its context could not be created
    RasterRefused,       // the engine created no raster
    LevelNotLocked,      // the engine did not lock `level`, or gave rows narrower than
                         // it
    LevelNotFilled,      // `level` was locked but its pixels could not be had
    TextureRefused,      // the engine made no texture of the raster
};

struct LoadOutcome {
    LoadStatus status = LoadStatus::Drawn;
    uint32_t level = 0;  // the level the two level statuses speak of
    MipCacheVerdict cache = MipCacheVerdict::NotLookedUp;  // Valid when it served the load
    bool cacheWritten = false;                             // a new cache file holds the chain
};

const char* LoadStatusText(LoadStatus status);

// The status in words, the level named where one failed: "level 3 could not be locked".
std::string DescribeLoadStatus(const LoadOutcome& outcome);
