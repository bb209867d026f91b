// Resolved-address slots: each versioned game address of the build, chosen for the running
// release by a static initialiser while the plug-in is attached, only read afterwards.
#pragma once

#include "../games/selected_game.h"

// The slot's pointer; HostAddress(0) on a release the build does not know.
void* HostVersionedSlot(selected_game::VersionedSlot slot);
