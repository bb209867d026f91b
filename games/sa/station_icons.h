// San Andreas: the icon files' base names in slot order, a colour icon then its grey twin.
// Letter case is kept as it stands: the names reach the file system unchanged.
#pragma once

#include <array>

namespace games::sa {

inline constexpr std::array<const char*, 26> kStationIconTable = {
    "off_button",         "off_button_gray",         "radio_bounce",  "radio_bounce_gray",
    "radio_csr",          "radio_csr_gray",          "radio_KDST",    "radio_KDST_gray",
    "radio_kjah",         "radio_kjah_gray",         "radio_krose",   "radio_krose_gray",
    "radio_mastersounds", "radio_mastersounds_gray", "radio_playback", "radio_playback_gray",
    "radio_RADIOX",       "radio_RADIOX_gray",       "radio_RLS",     "radio_RLS_gray",
    "radio_SFUR",         "radio_SFUR_gray",         "radio_TPLAYER", "radio_TPLAYER_gray",
    "radio_WCTR",         "radio_WCTR_gray",
};

}  // namespace games::sa
