// SVG documents into RenderWare textures, one rendering per mip level.
#pragma once

#include "../image/load_request.h"

RwTexture* LoadSvgTexture(const LoadRequest& request);
