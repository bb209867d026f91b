#include "load_status.h"

const char* LoadStatusText(LoadStatus status) {
    switch (status) {
        case LoadStatus::Drawn:
            return "drawn from the source";
        case LoadStatus::ServedFromCache:
            return "served from the cache";
        case LoadStatus::NoPath:
            return "no path given";
        case LoadStatus::PathNotConvertible:
            return "path not convertible to a wide path";
        case LoadStatus::NoSuchFile:
            return "no such file";
        case LoadStatus::Unreadable:
            return "file unreadable or empty";
        case LoadStatus::NotDecodable:
            return "not decodable";
        case LoadStatus::ZeroSize:
            return "zero size";
        case LoadStatus::TooLarge:
            return "larger than 16384 a side";
        case LoadStatus::FactoryUnavailable:
            return "imaging factory unavailable";
        case LoadStatus::DeviceUnavailable:
            return "drawing device unavailable";
        case LoadStatus::RasterRefused:
            return "raster refused by the engine";
        case LoadStatus::LevelNotLocked:
            return "could not be locked";
        case LoadStatus::LevelNotFilled:
            return "could not be filled";
        case LoadStatus::TextureRefused:
            return "texture refused by the engine";
    }
    return "unknown";
}

std::string DescribeLoadStatus(const LoadOutcome& outcome) {
    if (outcome.status == LoadStatus::LevelNotLocked ||
        outcome.status == LoadStatus::LevelNotFilled)
        return "level " + std::to_string(outcome.level) + " " + LoadStatusText(outcome.status);
    return LoadStatusText(outcome.status);
}
