// Records the game's 2D drawing takes, as the game lays them out.
#pragma once

#include <cstdint>

#include "../load/rw_types.h"

// Screen rectangle of a sprite draw. Screen y grows downwards, so `bottom` > `top`.
struct HostRect {
    float left;
    float bottom;  // lower edge
    float right;
    float top;     // upper edge
};

// Colour a sprite is modulated by.
struct HostColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t alpha;
};

// The game's 2D sprite object: its one field is the texture it draws, null when none.
struct HostSprite {
    RwTexture* texture;
};

// RenderWare render states and values the strip sets.
enum : RwInt32 {
    rwRENDERSTATESHADEMODE = 7,
    rwRENDERSTATETEXTUREFILTER = 9,
    rwRENDERSTATEVERTEXALPHAENABLE = 12,
    rwSHADEMODEGOURAUD = 2,
};
