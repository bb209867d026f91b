#include "plugin_start.h"

#include "../host/events/game_events.h"
#include "host_accessors.h"
#include "icon_sprites.h"
#include "radio_strip_frame.h"
#include "reload_key.h"
#include "settings_file.h"
#include "station_icons.h"

void RadioStripStartup() {
    PrepareSettingsFile();
    ReadSettings();
    LoadStationIcons();
}

// Runs while the loader attaches the DLL, where an exception would end the game. A registration
// that fails leaves the ones before it in place: the game runs with less of the strip.
RadioStripPlugin::RadioStripPlugin() {
    try {
        JumpOverHostReplacedRoutine(&RadioStripFrame);
        plugin::AddAfter(plugin::RwStartupEvent(), &RadioStripStartup);
        plugin::AddAfter(plugin::FrameProcessEvent(), &PollReloadKey);
        plugin::AddBefore(plugin::RwShutdownEvent(), &ReleaseStationIcons);
    } catch (...) {
    }
}

// Constructed while the plug-in is attached, after the versioned address slots (which run
// first by priority), in this order: the plug-in, then the sprites.
namespace {
const RadioStripPlugin radioStripPlugin;
const IconSpriteLifetime iconSpriteLifetime;
}  // namespace
