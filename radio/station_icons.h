// Loading the icon set through the image library and destroying it again.
#pragma once

inline constexpr const char* kIconFolderRelativePath = "halvenmoor_mods\\Tessivo\\icons";
inline constexpr const char* kMissingLibraryText =
    "Ombrix plugin is required by Tessivo but could not be found.\n\nPlease reinstall or ensure "
    "'Ombrix' is placed in your game's scripts folder.";
inline constexpr const char* kMissingLibraryCaption = "Tessivo - Missing Dependency";

// Loads every slot's icon from the icon folder at the image's own size with a full mip chain.
// A missing or undecodable icon leaves its slot null; a library without the loader leaves
// every slot null. Without the library at all, the player is told and the game ends (exit 1).
void LoadStationIcons();

// Destroys every icon texture and empties its slot; a second call destroys nothing.
void ReleaseStationIcons();
