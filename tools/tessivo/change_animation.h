// How `tessivo preview --change` writes the slide and the fade-out. A name holding "%04d"
// (frames\change-%04d.png) asks for numbered PNG pictures, one per drawn frame from 0000 up, for
// tools that assemble their own animation; any other name is one animation file in the format
// this build writes: .webp on the host, .gif on Windows (the imaging component there encodes
// GIF, not WebP).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/canvas.h"

// Empty when `out` names a change animation; else what is wrong with it.
std::string ChangeAnimationNameProblem(const std::string& out);

// Writes `pictures`, each shown `frameMs` milliseconds. Empty when done; else what failed.
std::string WriteChangeAnimation(const std::string& out, const std::vector<sim::Canvas>& pictures,
                                 uint32_t frameMs);
