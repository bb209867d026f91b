// A long life of one player's settings file: many starts of the plug-in and many presses of
// the reload key read it and never write it.
#include <gtest/gtest.h>

#include <string>

#include "game_folder.h"
#include "host/host_directory.h"
#include "platform/posix/kernel32_modules.h"
#include "platform/posix/substitute.h"
#include "platform/posix/user32.h"
#include "radio/key_latch.h"
#include "radio/plugin_start.h"
#include "radio/radio_strip_settings.h"
#include "radio/reload_key.h"

namespace {

constexpr int kStarts = 1000;
constexpr int kPresses = 1000;

using SettingsSoak = GameFolderTest;

TEST_F(SettingsSoak, PlayersFileIsByteIdenticalAfterAThousandStartsAndReloads) {
    const std::string path = GamePath("halvenmoor_mods\\Tessivo\\tessivo.ini");
    const std::string player =
        "; mine\r\n[Settings]\r\nIconGap = 7\r\n  ColorType=1\r\nReloadKey=162\r\n\r\n[Other]\r\nx=1";
    WriteFile(path, player);
    const long long written = ModifiedNanoseconds(path);
    // A library without the loader: every start runs whole and loads no icon.
    substitute::RegisterModule(reinterpret_cast<HMODULE>(uintptr_t{0x7A000000}),
                               (std::string(HostDirectory()) + "Ombrix.VC.asi").c_str());
    substitute::SetUser32Loaded(true);

    for (int start = 0; start < kStarts; ++start) RadioStripStartup();
    KeyLatch = {};
    for (int press = 0; press < kPresses; ++press) {
        for (const bool down : {true, false}) {
            substitute::SetKeyDown(162, down);
            PollReloadKey();
        }
    }
    EXPECT_EQ(substitute::CallCount(substitute::Call::GetPrivateProfileIntA),
              (kStarts + kPresses) * static_cast<int>(kSettingsKeys.size()));
    EXPECT_EQ(substitute::CallCount(substitute::Call::WritePrivateProfileStringA), 0);
    EXPECT_EQ(ReadFile(path), player);
    EXPECT_EQ(ModifiedNanoseconds(path), written);
    EXPECT_EQ(radioStripSettings.IconGap, 7);
    EXPECT_EQ(substitute::OpenFileHandles(), 0);
}

}  // namespace
