// The plug-in's start with one platform call failing at a time: never a crash, the outcome the
// failure allows, and the settings file either whole or untouched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game_folder.h"
#include "host/host_directory.h"
#include "image/exports.h"
#include "platform/posix/kernel32_modules.h"
#include "platform/posix/substitute.h"
#include "platform/posix/user32.h"
#include "radio/icon_sprites.h"
#include "radio/image_library_binding.h"
#include "radio/plugin_start.h"
#include "radio/radio_strip_settings.h"
#include "radio/reload_key.h"
#include "radio/station_icons.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

namespace {

using substitute::Call;

const HMODULE kLibrary = reinterpret_cast<HMODULE>(uintptr_t{0x7A000000});
const std::string kSettingsFile = "halvenmoor_mods\\Tessivo\\tessivo.ini";
const std::string kPlayerFile = "[Settings]\r\nIconGap=5\r\nReloadKey=65\r\n";

// Every game's table has the pair "off_button".
size_t OffButtonSlot() {
    size_t slot = 0;
    while (std::string(selected_game::kStationIconTable[slot]) != "off_button") ++slot;
    return slot;
}

using StartFaults = GameFolderTest;

TEST_F(StartFaults, EachCallFailingAloneLeavesTheGameRunningAndTheFileWholeOrUntouched) {
    enum Icons { Loaded, None, Any };
    const struct Case {
        Call call;
        int successesFirst;  // -1: the call fails every time
        bool library;        // an image library in scripts\, already loaded as well
        int exitCode;        // of the start-up: 0 when the game goes on
        bool readsFile;      // the record takes a present file's values
        Icons icons;         // what the slot of "off_button" holds
    } cases[] = {
        {Call::GetFileAttributesA, -1, true, 0, false, Any},
        {Call::WritePrivateProfileStringA, -1, true, 0, true, Loaded},
        {Call::WritePrivateProfileStringA, 6, true, 0, true, Loaded},
        {Call::GetPrivateProfileIntA, -1, true, 0, false, Loaded},
        {Call::GetPrivateProfileIntA, 2, true, 0, false, Loaded},  // IconGap, the third key
        {Call::CreateFileA, 0, true, 0, true, Any},
        {Call::ReadFile, 0, true, 0, true, Any},
        {Call::WriteFile, 0, true, 0, true, Any},
        {Call::GetModuleHandleA, -1, true, 0, true, Loaded},
        {Call::LoadLibraryA, -1, true, 0, true, Loaded},
        {Call::GetProcAddress, -1, true, 0, true, None},
        {Call::GetProcAddress, 0, true, 0, true, Loaded},
        {Call::MessageBoxA, -1, false, 1, true, None},
    };
    const std::string defaults = ReadFile(DEFAULT_SETTINGS_FILE);
    for (const Case& c : cases) {
        for (const bool playerFile : {false, true}) {
            SCOPED_TRACE(testing::Message() << substitute::CallName(c.call) << " after "
                                            << c.successesFirst << (playerFile ? ", player's file" : ", new"));
            // The library binding lasts the process: each start in a child of its own.
            EXPECT_EXIT(
                {
                    const std::string path = GamePath(kSettingsFile);
                    if (playerFile) WriteFile(path, kPlayerFile);
                    const std::vector<uint8_t> pixels(8 * 8 * 4, 0x80);
                    sim::WritePngFromBgra(GamePath("halvenmoor_mods\\Tessivo\\icons\\off_button.png"), 8, 8, pixels);
                    substitute::ForgetModules();
                    sim::ResetRwEngine();
                    sim::InstallRwEngine(selected_game::kRwFunctions);
                    // Loaded by the loader from scripts\, so LoadLibraryA finds it by that path too.
                    if (c.library)
                        substitute::RegisterModule(kLibrary,
                                                   (std::string(HostDirectory()) + "scripts\\Ombrix.VC.asi").c_str(),
                                                   {substitute::Export(kFindPngExportName, &FindPNGinFolderPath)});
                    substitute::SetExitProcessHandler([](UINT code) { std::_Exit(static_cast<int>(code)); });
                    if (c.successesFirst < 0) {
                        substitute::FailCallAlways(c.call);
                    } else {
                        substitute::FailCall(c.call, c.successesFirst);
                    }
                    RadioStripStartup();
                    PollReloadKey();
                    substitute::ResetSubstitute();

                    const bool fileOk = playerFile ? ReadFile(path) == kPlayerFile
                                                   : !Exists(path) || ReadFile(path) == defaults;
                    const bool readOk = radioStripSettings.IconGap == (playerFile && c.readsFile ? 5 : 3);
                    const bool loaded = IconSprites[OffButtonSlot()].texture != nullptr;
                    const bool iconsOk = c.icons == Any || loaded == (c.icons == Loaded);
                    std::_Exit(fileOk && readOk && iconsOk ? 0 : 10 + 4 * fileOk + 2 * readOk + iconsOk);
                },
                testing::ExitedWithCode(c.exitCode), "");
        }
    }
}

}  // namespace
