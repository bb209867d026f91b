// The running release of the game, told apart by code signatures.
#pragma once

#include <cstdint>

// Version code of the running release, 0 when none was recognised. The first call detects it;
// every later call answers the same code, 0 included.
int32_t HostVersion();

// Probes the build's signature table in order and answers the first matching code, or 0.
int32_t DetectHostVersion();
