#include "radio_strip_settings.h"

RadioStripSettings radioStripSettings;

const std::array<SettingsKey, 13> kSettingsKeys = {{
    {"ReloadKey", "Key to reload configuration", &RadioStripSettings::ReloadKey, 0, 254},
    {"ColorType", "1 = Fully color, 2 = Active color / others grey, 3 = All grey",
     &RadioStripSettings::ColorType, 1, 3},
    {"IconGap", "Gap divisor between icons", &RadioStripSettings::IconGap, 1, 20},
    {"IconSizeMultiplier", "Size multiplier in percentage (e.g. 100 for 1.0x)",
     &RadioStripSettings::IconSizeMultiplier, 10, 400},
    {"Alpha1stNonActive", "Transparency level of the 1st non-active icon (0-255)",
     &RadioStripSettings::Alpha1stNonActive, 0, 255},
    {"Alpha2ndNonActive", "Transparency level of the 2nd non-active icon (0-255)",
     &RadioStripSettings::Alpha2ndNonActive, 0, 255},
    {"RadioSliderTimeout", "Display duration in milliseconds", &RadioStripSettings::RadioSliderTimeout, 500, 60000},
    {"RadioSliderAnimSpeed", "Scroll animation speed factor (1-100, where 15 = 0.15)",
     &RadioStripSettings::RadioSliderAnimSpeed, 1, 100},
    {"OnlyPlayScrollOnPress",
     "Play scroll slide animation only on button press (0 = false, 1 = true)",
     &RadioStripSettings::OnlyPlayScrollOnPress, 0, 1},
    {"DisableScrollAnim", "Disable scroll slide animation entirely (0 = false, 1 = true)",
     &RadioStripSettings::DisableScrollAnim, 0, 1},
    {"CenterIconOnly", "Display center icon only, hiding side icons (0 = false, 1 = true)",
     &RadioStripSettings::CenterIconOnly, 0, 1},
    {"EnableBicycleRadioIcon", "Enable radio display on bicycles in SA (0 = false, 1 = true)",
     &RadioStripSettings::EnableBicycleRadioIcon, 0, 1},
    {"DisableIconDisplayWhileEntering",
     "Disable radio icons display when entering a vehicle (0 = false, 1 = true)",
     &RadioStripSettings::DisableIconDisplayWhileEntering, 0, 1},
}};
