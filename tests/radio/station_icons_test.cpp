// The icon set: the image library found by file name, every icon loaded through it, the
// missing library told to the player, and the textures destroyed before RenderWare shuts down.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../host/event_sites.h"
#include "game_folder.h"
#include "host/host_directory.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "platform/posix/user32.h"
#include "radio/icon_sprites.h"
#include "radio/image_library_binding.h"
#include "radio/station_icons.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "sim/png_writer.h"
#include "sim/release_scenario.h"
#include "sim/rw_engine.h"

namespace {

using namespace event_sites;

const HMODULE kLibrary = reinterpret_cast<HMODULE>(uintptr_t{0x7A000000});

// Counts the sprite destructs of the plug-in's unload: registered ahead of the plug-in's static
// objects, so it runs after they are destroyed.
void ReportSpriteDestructs() {
    std::fprintf(stderr, "sprite destructs at unload: %zu\n",
                 sim::HostCallsTo(sim::HostRoutine::SpriteDestruct).size());
}
__attribute__((init_priority(150))) const struct UnloadWatch {
    UnloadWatch() { std::atexit(ReportSpriteDestructs); }
} unloadWatch;

class StationIcons : public GameFolderTest {
protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        substitute::ForgetModules();
        substitute::ClearModuleLogs();
        sim::ResetRwEngine();
        sim::InstallRwEngine(selected_game::kRwFunctions);
    }

    static void WriteIcon(const std::string& name) {
        const std::vector<uint8_t> pixels(8 * 8 * 4, 0x80);
        ASSERT_TRUE(sim::WritePngFromBgra(GamePath("halvenmoor_mods\\Tessivo\\icons\\" + name + ".png"),
                                          8, 8, pixels));
    }

    static void PlaceLibrary(const char* where, bool withLoader = true) {
        if (withLoader)
            ASSERT_TRUE(substitute::PlaceModuleFile(
                where, kLibrary, {substitute::Export(kFindPngExportName, &FindPNGinFolderPath)}));
        else
            ASSERT_TRUE(substitute::PlaceModuleFile(where, kLibrary));
    }
};

// In a fresh process each: the binding is cached for the life of the process.
[[noreturn]] void Exit(bool ok) { std::_Exit(ok ? 0 : 1); }

const std::vector<std::string> kLoadOrder = {
    "scripts\\Ombrix.VC.asi",  "scripts\\Ombrix.asi", "scripts\\Ombrix.SA.asi",
    "scripts\\Ombrix.III.asi", "Ombrix.VC.asi",       "Ombrix.asi",
    "Ombrix.SA.asi",           "Ombrix.III.asi",
};

TEST_F(StationIcons, ImageLibraryIsFoundByFileNameInOneOrderForEveryGame) {
    EXPECT_EXIT(
        {
            substitute::RegisterModule(kLibrary, "C:\\Games\\scripts\\Ombrix.SA.asi");
            Exit(BindImageLibrary() == kLibrary && substitute::LoadLibraryCalls().empty());
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            PlaceLibrary((std::string(HostDirectory()) + "Ombrix.III.asi").c_str());
            const bool bound = BindImageLibrary() == kLibrary;
            Exit(bound && substitute::LoadLibraryCalls() == kLoadOrder &&
                 BindImageLibrary() == kLibrary && substitute::LoadLibraryCalls().size() == 8);
        },
        testing::ExitedWithCode(0), "");
}

void CheckMissingLibraryBox(UINT code) {
    const auto& boxes = substitute::MessageBoxes();
    const bool ok = code == 1 && boxes.size() == 1 && boxes[0].owner == nullptr &&
                    boxes[0].text == kMissingLibraryText &&
                    boxes[0].caption == "Tessivo - Missing Dependency" && boxes[0].type == MB_ICONERROR;
    std::_Exit(ok ? 1 : 2);
}

TEST_F(StationIcons, NoLibraryAnywhereTellsThePlayerOnceAndEndsTheGame) {
    EXPECT_EXIT(
        {
            substitute::SetActiveWindow(reinterpret_cast<HWND>(uintptr_t{0x5150}));
            substitute::SetExitProcessHandler(&CheckMissingLibraryBox);
            LoadStationIcons();
            std::_Exit(3);
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(StationIcons, LibraryWithoutTheLoaderLeavesEverySlotEmptyWithoutAWord) {
    EXPECT_EXIT(
        {
            WriteIcon("off_button");
            PlaceLibrary((std::string(HostDirectory()) + "scripts\\Ombrix.VC.asi").c_str(), false);
            LoadStationIcons();
            bool empty = true;
            for (const HostSprite& sprite : IconSprites) empty = empty && !sprite.texture;
            Exit(empty && substitute::MessageBoxes().empty() && sim::LiveTextures() == 0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(StationIcons, LoadedThroughTheStartupCallAndDestroyedBeforeTheShutdownCall) {
    const std::vector<Site> startup = RunningSites(StartupSites());
    const std::vector<Site> shutdown = RunningSites(ShutdownSites());
    if (startup.empty()) GTEST_SKIP() << "the start-up call is not hooked in this release";
    WriteIcon("off_button");
    WriteIcon("off_button_gray");
    substitute::RegisterModule(kLibrary, "C:\\Games\\Ombrix.VC.asi",
                               {substitute::Export(kFindPngExportName, &FindPNGinFolderPath)});
    sim::RunGameCode(startup[0].address);

    for (size_t slot = 0; slot < kIconSlotCount; ++slot) {
        const bool offButton =
            std::string(selected_game::kStationIconTable[slot]).rfind("off_button", 0) == 0;
        RwTexture* texture = IconSprites[slot].texture;
        EXPECT_EQ(texture != nullptr, offButton) << selected_game::kStationIconTable[slot];
        if (texture) {
            EXPECT_EQ(texture->filterAddressing, (sim::kInitialFilterAddressing & ~0xFFu) | 6);
        }
    }
    EXPECT_EQ(sim::LiveTextures(), 2);

    // Runs after the plug-in's own before-handler and still ahead of the game's callee.
    static bool destroyedBeforeCallee = false;
    plugin::AddBefore(plugin::RwShutdownEvent(), [] {
        destroyedBeforeCallee = sim::LiveTextures() == 0 &&
                                sim::GameCalleeCalls(sim::EventCallee(RunningSites(ShutdownSites())[0].address)) == 0;
    });
    sim::RunGameCode(shutdown[0].address);
    EXPECT_TRUE(destroyedBeforeCallee);
    EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::RwTextureDestroy).size(), 2u);
    for (const HostSprite& sprite : IconSprites) EXPECT_EQ(sprite.texture, nullptr);
    ReleaseStationIcons();
    EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::RwTextureDestroy).size(), 2u);
}

TEST(IconSpriteRule, ConstructedAtLoadAndDestructedAtUnloadAsTheGameNeeds) {
    struct Rule {
        sim::Game game;
        size_t constructs;
        size_t destructs;
    };
    const Rule rules[] = {{sim::Game::III, 0, 0}, {sim::Game::VC, kIconSlotCount, kIconSlotCount},
                          {sim::Game::SA, kIconSlotCount, 0}};
    for (const Rule& rule : rules) {
        if (rule.game != sim::LoadedRelease().game) continue;
        EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::SpriteConstruct).size(), rule.constructs);
        EXPECT_EXIT(std::exit(0), testing::ExitedWithCode(0),
                    "sprite destructs at unload: " + std::to_string(rule.destructs) + "\n");
    }
}

}  // namespace
