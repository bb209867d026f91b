// The icon set: one game sprite per slot of the game's StationIconTable, in slot order. Slot
// 2k holds a colour icon, slot 2k + 1 its grey twin; a slot without an icon holds null.
#pragma once

#include <array>

#include "../games/selected_game.h"
#include "host_types.h"

inline constexpr size_t kIconSlotCount = selected_game::kStationIconTable.size();

extern std::array<HostSprite, kIconSlotCount> IconSprites;

// The sprites' life in the game's terms: constructed when the plug-in is loaded where the
// game's sprites need it, destructed when it is unloaded where they need that.
struct IconSpriteLifetime {
    IconSpriteLifetime();
    ~IconSpriteLifetime();
    IconSpriteLifetime(const IconSpriteLifetime&) = delete;
    IconSpriteLifetime& operator=(const IconSpriteLifetime&) = delete;
};
