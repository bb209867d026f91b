// Stroke-first paint order spelled out as two shapes, because the renderer ignores it.
#pragma once

#include <string>

// Each shape asking for stroke before fill becomes a stroke-only copy (id + "_stroke")
// followed by a fill-only copy that keeps the id.
void EmulatePaintOrder(std::string& svgText);
