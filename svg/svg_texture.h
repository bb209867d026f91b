// SVG documents into RenderWare textures, one rendering per mip level.
#pragma once

#include "../load/load_request.h"

RwTexture* LoadSvgTexture(const LoadRequest& request, LoadOutcome& outcome);
