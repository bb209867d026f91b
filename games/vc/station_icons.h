// Vice City: the icon files' base names in slot order, a colour icon then its grey twin. The
// pair "810vcn" is loaded like the others, though no ring position shows it.
#pragma once

#include <array>

namespace games::vc {

inline constexpr std::array<const char*, 24> kStationIconTable = {
    "810vcn",     "810vcn_gray",     "emotion",   "emotion_gray",
    "espantoso",  "espantoso_gray",  "fever",     "fever_gray",
    "flash",      "flash_gray",      "kchat",     "kchat_gray",
    "mp3",        "mp3_gray",        "off_button", "off_button_gray",
    "vcpr",       "vcpr_gray",       "vrock",     "vrock_gray",
    "wave103",    "wave103_gray",    "wildstyle", "wildstyle_gray",
};

}  // namespace games::vc
