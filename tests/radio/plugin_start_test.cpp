// The plug-in as the game loads it: the jump over the replaced routine and the three handlers
// on the events of the detected release, then the reload key driven frame by frame.
#include <gtest/gtest.h>

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

namespace {

using namespace event_sites;

template <class Event>
bool HoldsOnly(const Event& event, const std::vector<typename Event::HandlerEntry>& list,
               void (*handler)()) {
    return event.installed && list.size() == 1 && *list[0].handler.template target<void (*)()>() == handler;
}

TEST(PluginStart, JumpsOverTheReplacedRoutineAndHooksOnlyTheDetectedRelease) {
    const uint32_t routine = selected_game::kHostCells.replacedRoutine.address;
    const uint8_t* entry = static_cast<const uint8_t*>(HostAddress(routine));
    EXPECT_EQ(entry[0], 0xE9);
    EXPECT_EQ(injector::BranchDestination(HostAddress(routine)),
              reinterpret_cast<const void*>(&RadioStripFrame));
    sim::RunGameCode(routine);
    EXPECT_EQ(sim::ReplacedRoutineCalls(), 0u);

    EXPECT_TRUE(HoldsOnly(plugin::RwStartupEvent(), plugin::RwStartupEvent().after, &RadioStripStartup));
    EXPECT_TRUE(plugin::RwStartupEvent().before.empty());
    EXPECT_TRUE(HoldsOnly(plugin::FrameProcessEvent(), plugin::FrameProcessEvent().after, &PollReloadKey));
    EXPECT_TRUE(HoldsOnly(plugin::RwShutdownEvent(), plugin::RwShutdownEvent().before,
                          &ReleaseStationIcons));
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

class ReloadKey : public GameFolderTest {
protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        WriteFile(GamePath("halvenmoor_mods\\Tessivo\\tessivo.ini"), "[Settings]\r\nIconGap=4\r\n");
        substitute::ResetKeys();
        substitute::SetUser32Loaded(true);
        KeyLatch = {};
    }
    void TearDown() override {
        substitute::ResetKeys();
        GameFolderTest::TearDown();
    }

    // Runs the game's per-frame call once per entry with the key down or up; answers how often
    // the settings were read again.
    static int ReloadsOver(const std::vector<bool>& downPerFrame, int vk = 162) {
        const int readsBefore = substitute::CallCount(substitute::Call::GetPrivateProfileIntA);
        const std::vector<Site> frame = RunningSites(FrameSites());
        for (bool down : downPerFrame) {
            substitute::SetKeyDown(vk, down);
            for (const Site& site : frame) sim::RunGameCode(site.address);
        }
        const int reads = substitute::CallCount(substitute::Call::GetPrivateProfileIntA) - readsBefore;
        return reads / static_cast<int>(kSettingsKeys.size());
    }
};

TEST_F(ReloadKey, ReloadsOncePerPressWhileTheReleaseIsHooked) {
    struct Case {
        const char* what;
        int32_t reloadKey;
        int vk;
        std::vector<bool> frames;
        int reloads;  // on a hooked release; none elsewhere
    };
    const Case cases[] = {
        {"held for many frames", 162, 162, {true, true, true, true, true, true}, 1},
        {"released and pressed again", 162, 162, {true, true, false, true, false, false, true}, 3},
        {"another key", 65, 65, {false, true, true, false, true}, 2},
        {"the default key when another is set", 65, 162, {true, false, true}, 0},
        {"beyond the key table", 300, 300, {true, false, true}, 0},
        {"disabled by -1", -1, 162, {true, false, true}, 0},
        {"disabled by 0", 0, 0, {true, false, true}, 0},
    };
    const bool hooked = !RunningSites(FrameSites()).empty();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings.ReloadKey = c.reloadKey;
        KeyLatch = {};
        substitute::ResetKeys();
        EXPECT_EQ(ReloadsOver(c.frames, c.vk), hooked ? c.reloads : 0);
    }
}

TEST_F(ReloadKey, PressReloadsTheFileIntoTheRecord) {
    if (RunningSites(FrameSites()).empty()) GTEST_SKIP() << "no per-frame call in this release";
    ReloadsOver({true});
    EXPECT_EQ(radioStripSettings.IconGap, 4);
}

TEST_F(ReloadKey, WithoutUser32NothingFiresAndBindingIsTriedEveryFrame) {
    if (RunningSites(FrameSites()).empty()) GTEST_SKIP() << "no per-frame call in this release";
    substitute::SetUser32Loaded(false);
    substitute::ClearModuleLogs();
    EXPECT_EQ(ReloadsOver({true, true, true}), 0);
    int queries = 0;
    for (const std::string& name : substitute::ModuleHandleQueries()) queries += name == "user32.dll";
    EXPECT_GE(queries, 3);
    EXPECT_EQ(KeyLatch[162], 0);
}

}  // namespace
