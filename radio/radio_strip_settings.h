// The radio strip's options: one process-wide record, read from the settings file at start-up
// and on the reload key, read by the strip every frame. Never validated or clamped.
#pragma once

#include <array>
#include <cstdint>

struct RadioStripSettings {
    int32_t ReloadKey = 162;  // virtual-key code; 162 is left Ctrl, 0 or below disables it
    int32_t ColorType = 2;
    int32_t IconGap = 3;
    int32_t IconSizeMultiplier = 50;
    int32_t Alpha1stNonActive = 128;
    int32_t Alpha2ndNonActive = 64;
    int32_t RadioSliderTimeout = 4000;
    int32_t RadioSliderAnimSpeed = 15;
    int32_t OnlyPlayScrollOnPress = 0;
    int32_t DisableScrollAnim = 0;
    int32_t CenterIconOnly = 0;
    int32_t EnableBicycleRadioIcon = 0;
    int32_t DisableIconDisplayWhileEntering = 0;
};

extern RadioStripSettings radioStripSettings;

// One key of the settings file: its name, the comment written above it, its field, and the
// values the strip looks right with. The plug-in takes any value; the range is advice that the
// tools give players.
struct SettingsKey {
    const char* name;
    const char* comment;
    int32_t RadioStripSettings::*field;
    int32_t advisedLow;
    int32_t advisedHigh;
};

// Every key, in the order the file lists them.
extern const std::array<SettingsKey, 13> kSettingsKeys;
