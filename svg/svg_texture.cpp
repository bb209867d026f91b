#include "svg_texture.h"

// The SVG renderer is not part of this build yet: every request is refused.
RwTexture* LoadSvgTexture(const LoadRequest&) { return nullptr; }
