// Raster images (anything WIC decodes) into RenderWare textures with their mip levels.
#pragma once

#include "../load/load_request.h"

// Straight-alpha BGRA levels, each resampled from the full-size image with Fant interpolation.
RwTexture* LoadPngTexture(const LoadRequest& request, LoadOutcome& outcome);
