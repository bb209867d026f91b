// The strip drawn as game sprites: the ring position `scrollPosition` at the screen's centre,
// one twelfth of the screen height from the top, neighbours by ring distance, fading out
// towards 2.5 positions away. Every size follows the screen height.
#pragma once

#include <cstdint>

#include "station_ring.h"

// The render states, then one or two sprite draws for each ring position within reach.
void DrawIconStrip(const StationRing& ring, float scrollPosition, float fade);

// Entry `position` centred at (x, y) with `alpha` (0 .. 255 before the wrap to a byte), at
// signed ring distance `distance` from the centre.
void DrawStationIcon(int32_t position, float x, float y, float alpha, float distance,
                     const StationRing& ring);

// What the game receives for a float alpha: truncated towards zero, its low 8 bits.
uint8_t AlphaByte(float alpha);
