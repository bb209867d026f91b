// How the plug-in wires itself into the game while it is attached: the jump over the
// replaced routine, then its three handlers on the game's events, then the icon sprites.
#pragma once

// Settings, then icons: once, after the game has started RenderWare.
void RadioStripStartup();

struct RadioStripPlugin {
    RadioStripPlugin();
    RadioStripPlugin(const RadioStripPlugin&) = delete;
    RadioStripPlugin& operator=(const RadioStripPlugin&) = delete;
};
