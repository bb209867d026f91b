// The X key silences the radio while the player drives; the game's restore query gives the
// volume back.
#pragma once

#include "radio_strip_state.h"

inline constexpr uint32_t kMuteKey = 0x58;  // X

// The restore, then the mute key. Runs only on frames that pass the display gate.
void HandleMuteKeys(RadioStripState& state, void* vehicle);
