// The radio plug-in's host build run inside the stand-in game, as the tools that play it need:
// the process laid out for the right game and release, the image library registered under
// its file name, and the game's events run.
#pragma once

#include <cstdint>
#include <string>

#include "sim/event_call_sites.h"

// Call from a constructor of priority 102: after the stand-in laid the image out, before the
// plug-in's static objects, which need the game. When the environment does not name this game,
// release and executable, the program starts itself again with them and never returns; when it
// cannot, it ends the process with `program`'s message.
void RunInStandinGame(const char* game, uint32_t release, const std::string& gameFile, char** argv,
                      const char* program);

// The image library's host build answers to `libraryFile` as the game's DLL would, the engine
// is installed, and the game starts RenderWare: the plug-in reads its settings and icons.
void StartRadioPlugin(const std::string& libraryFile);

// Runs the game's calls of `event` that reach a handler.
void RunEventSites(sim::GameEvent event);
