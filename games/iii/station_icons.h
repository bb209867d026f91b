// III: the icon files' base names in slot order, a colour icon then its grey twin.
#pragma once

#include <array>

namespace games::iii {

inline constexpr std::array<const char*, 22> kStationIconTable = {
    "chatterbox",  "chatterbox_gray",  "doublecleff", "doublecleff_gray",
    "flashback",   "flashback_gray",   "gameradio",   "gameradio_gray",
    "headradio",   "headradio_gray",   "kjah",        "kjah_gray",
    "lips",        "lips_gray",        "mp3player",   "mp3player_gray",
    "msx",         "msx_gray",         "off_button",  "off_button_gray",
    "rise",        "rise_gray",
};

}  // namespace games::iii
