// A raster the load still owns: destroyed with the owner unless it was handed on, so a load
// given up half-way (an allocation that failed) leaves no raster in the engine.
#pragma once

#include "rw_bridge.h"

class OwnedRaster {
public:
    explicit OwnedRaster(RwRaster* raster) : raster_(raster) {}
    OwnedRaster(const OwnedRaster&) = delete;
    OwnedRaster& operator=(const OwnedRaster&) = delete;
    ~OwnedRaster() {
        if (raster_) RwRasterDestroy(raster_);
    }

    RwRaster* Get() const { return raster_; }
    // The raster goes to its new owner (a texture, or the caller); this one forgets it.
    RwRaster* Release() {
        RwRaster* raster = raster_;
        raster_ = nullptr;
        return raster;
    }

private:
    RwRaster* raster_;
};
