// The file names plug-in loaders are installed under in these games' folders: each stands in
// for a DLL the game loads anyway and starts the .asi files of the game folder and scripts\.
#pragma once

inline constexpr const char* kPluginLoaderNames[] = {
    "dinput8.dll", "vorbisFile.dll", "winmm.dll", "d3d8.dll", "d3d9.dll", "dsound.dll", "ddraw.dll",
    "version.dll", "msacm32.dll", "xlive.dll",
};
