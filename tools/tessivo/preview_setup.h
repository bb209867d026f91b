// Where the drawing half of `tessivo preview` lives and what it needs in the throw-away game
// folder, as this build has it: the host's tessivo_preview_<game> beside the tool, with the
// plug-in built in (preview_setup_host.cpp), or on Windows the real DLLs and the stand-in game
// program copied into the folder (preview_setup_windows.cpp).
#pragma once

#include <string>

#include "game_choice.h"

// The icons drawn when --icons names none; `hint` says how a missing one comes to be.
std::string DefaultIconFolder(const std::string& toolFolder, const GameChoice& game, std::string& hint);

// Lays the program and the plug-ins into `folder` as needed and names the program to start.
// `dllFolder` is --dlls, empty when not given. False, saying why, when something is missing.
bool PreparePreviewProgram(const std::string& toolFolder, const GameChoice& game, const std::string& dllFolder,
                           const std::string& folder, std::string& program, std::string& error);
