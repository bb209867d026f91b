// The key that re-reads the settings file while the game runs.
#pragma once

// Runs once per frame: a fresh press of ReloadKey reads the settings again (the file is not
// rewritten, the icons are not reloaded). A ReloadKey of 0 or below disables it.
void PollReloadKey();
