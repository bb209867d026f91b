// Where the release bundle puts what the plug-in does not read itself.
#pragma once

// Our icon set as the bundle carries it: the plug-in reads icons\ only, which is the player's,
// so an update can replace this folder without touching an icon the player changed.
inline constexpr const char* kBundledIconSetRelativePath = "halvenmoor_mods\\Tessivo\\icon-set";
