// What the strip keeps between frames.
#pragma once

#include <cstdint>

struct RadioStripState {
    float scrollPosition = -1.0f;  // ring position at the strip's centre; < 0: none shown yet
    int32_t lastStationId = -1;    // the target station of the previous active frame
    bool active = false;           // the display conditions held on the previous frame
    uint32_t activeSinceTime = 0;  // HostClock when `active` last became true
    uint32_t hideAtTime = 0;       // HostClock after which the strip fades out
    float fade = 0.0f;             // 0 .. 1, scales every icon's alpha
    bool mutePending = false;      // the mute key silenced the radio; a restore is owed
    uint8_t savedRadioVolume = 64; // the volume setting the restore gives back
};

extern RadioStripState radioStripState;

// Leaving the display conditions: the strip vanishes at once, without fading; where it was
// and the mute survive.
void ResetRadioStrip(RadioStripState& state);
