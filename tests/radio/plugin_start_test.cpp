// The plug-in as the game loads it: the jump over the replaced routine and the three handlers
// on the events of the detected release, then the reload key driven frame by frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../host/event_sites.h"
#include "game_folder.h"
#include "host/events/game_events.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "platform/posix/user32.h"
#include "radio/key_latch.h"
#include "radio/plugin_start.h"
#include "radio/radio_strip_frame.h"
#include "radio/radio_strip_settings.h"
#include "radio/reload_key.h"
#include "radio/station_icons.h"
#include "sim/game_code.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"

namespace {

using namespace event_sites;

template <class Event>
bool HoldsOnly(const Event& event, const std::vector<typename Event::HandlerEntry>& list,
               void (*handler)()) {
    return event.installed && list.size() == 1 && *list[0].handler.template target<void (*)()>() == handler;
}

TEST(PluginStart, JumpsOverTheReplacedRoutineAndHooksOnlyTheDetectedRelease) {
    const uint32_t routine = selected_game::kHostCells.replacedRoutine.address;
    EXPECT_EQ(static_cast<const uint8_t*>(HostAddress(routine))[0], 0xE9);
    EXPECT_EQ(injector::BranchDestination(HostAddress(routine)), reinterpret_cast<const void*>(&RadioStripFrame));
    sim::ClearHostCallLog();
    sim::RunGameCode(routine);
    EXPECT_EQ(sim::ReplacedRoutineCalls(), 0u);
    // Elsewhere the game's addresses are not known to hold its routines: none is called.
    EXPECT_TRUE(!RunningSites(FrameSites()).empty() || sim::HostCallLog().empty());

    EXPECT_TRUE(HoldsOnly(plugin::RwStartupEvent(), plugin::RwStartupEvent().after, &RadioStripStartup));
    EXPECT_TRUE(plugin::RwStartupEvent().before.empty());
    EXPECT_TRUE(HoldsOnly(plugin::FrameProcessEvent(), plugin::FrameProcessEvent().after, &PollReloadKey));
    EXPECT_TRUE(HoldsOnly(plugin::RwShutdownEvent(), plugin::RwShutdownEvent().before, &ReleaseStationIcons));
    EXPECT_TRUE(plugin::RwShutdownEvent().after.empty());
    for (const Site& site : AllSites()) {
        SCOPED_TRACE(testing::Message() << "call at 0x" << std::hex << site.address);
        if (site.version == HostVersion()) {
            EXPECT_TRUE(RedirectedTo(site));
        } else if (!InsideRunningCall(site.address) && !InsideRunningCall(site.address + 4)) {
            EXPECT_TRUE(AsLaidOut(site.address));
        }
    }
}

using ReloadKey = GameFolderTest;

TEST_F(ReloadKey, ReloadsTheFileOncePerPressWhileTheReleaseIsHooked) {
    struct Case {
        const char* what;
        int32_t reloadKey;
        int vk;
        std::string frames;  // per frame: D the key down, u up, x down while user32 is not loaded
        int reloads;         // on a hooked release; none elsewhere
    };
    // GetKeyState stays bound once found: the cases without user32 come first.
    const Case cases[] = {
        {"without user32", 162, 162, "xxx", 0},
        {"user32 loaded later", 162, 162, "D", 1},
        {"held for many frames", 162, 162, "DDDDDD", 1},
        {"released and pressed again", 162, 162, "DDuDuuD", 3},
        {"another key", 65, 65, "uDDuD", 2},
        {"the default key when another is set", 65, 162, "DuD", 0},
        {"beyond the key table", 300, 300, "DuD", 0},
        {"disabled by -1", -1, 162, "DuD", 0},
        {"disabled by 0", 0, 0, "DuD", 0},
    };
    WriteFile(GamePath("halvenmoor_mods\\Tessivo\\tessivo.ini"), "[Settings]\r\nIconGap=4\r\n");
    const std::vector<Site> frame = RunningSites(FrameSites());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings = RadioStripSettings{};
        radioStripSettings.ReloadKey = c.reloadKey;
        KeyLatch = {};
        substitute::ResetKeys();
        const int readsBefore = substitute::CallCount(substitute::Call::GetPrivateProfileIntA);
        for (char f : c.frames) {
            substitute::SetUser32Loaded(f != 'x');
            substitute::SetKeyDown(c.vk, f != 'u');
            for (const Site& site : frame) sim::RunGameCode(site.address);
        }
        const int reads = substitute::CallCount(substitute::Call::GetPrivateProfileIntA) - readsBefore;
        const int reloads = frame.empty() ? 0 : c.reloads;
        EXPECT_EQ(reads, reloads * static_cast<int>(kSettingsKeys.size()));
        EXPECT_EQ(radioStripSettings.IconGap, reloads ? 4 : 3);
    }
}

}  // namespace
