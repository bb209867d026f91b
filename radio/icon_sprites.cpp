#include "icon_sprites.h"

#include "host_accessors.h"

std::array<HostSprite, kIconSlotCount> IconSprites = {};

IconSpriteLifetime::IconSpriteLifetime() {
    if (!HostSpritesAreConstructed()) return;
    for (HostSprite& sprite : IconSprites) HostSpriteConstruct(&sprite);
}

IconSpriteLifetime::~IconSpriteLifetime() {
    if (!HostSpritesAreDestructed()) return;
    for (HostSprite& sprite : IconSprites) HostSpriteDestruct(&sprite);
}
