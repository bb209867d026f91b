#include "radio_strip_settings.h"

RadioStripSettings radioStripSettings;

const std::array<SettingsKey, 13> kSettingsKeys = {{
    {"ReloadKey", "Key to reload configuration", &RadioStripSettings::ReloadKey},
    {"ColorType", "1 = Fully color, 2 = Active color / others grey, 3 = All grey",
     &RadioStripSettings::ColorType},
    {"IconGap", "Gap divisor between icons", &RadioStripSettings::IconGap},
    {"IconSizeMultiplier", "Size multiplier in percentage (e.g. 100 for 1.0x)",
     &RadioStripSettings::IconSizeMultiplier},
    {"Alpha1stNonActive", "Transparency level of the 1st non-active icon (0-255)",
     &RadioStripSettings::Alpha1stNonActive},
    {"Alpha2ndNonActive", "Transparency level of the 2nd non-active icon (0-255)",
     &RadioStripSettings::Alpha2ndNonActive},
    {"RadioSliderTimeout", "Display duration in milliseconds", &RadioStripSettings::RadioSliderTimeout},
    {"RadioSliderAnimSpeed", "Scroll animation speed factor (1-100, where 15 = 0.15)",
     &RadioStripSettings::RadioSliderAnimSpeed},
    {"OnlyPlayScrollOnPress",
     "Play scroll slide animation only on button press (0 = false, 1 = true)",
     &RadioStripSettings::OnlyPlayScrollOnPress},
    {"DisableScrollAnim", "Disable scroll slide animation entirely (0 = false, 1 = true)",
     &RadioStripSettings::DisableScrollAnim},
    {"CenterIconOnly", "Display center icon only, hiding side icons (0 = false, 1 = true)",
     &RadioStripSettings::CenterIconOnly},
    {"EnableBicycleRadioIcon", "Enable radio display on bicycles in SA (0 = false, 1 = true)",
     &RadioStripSettings::EnableBicycleRadioIcon},
    {"DisableIconDisplayWhileEntering",
     "Disable radio icons display when entering a vehicle (0 = false, 1 = true)",
     &RadioStripSettings::DisableIconDisplayWhileEntering},
}};
