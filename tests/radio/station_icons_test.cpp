// The icon set: the image library found by file name, every icon loaded through it, the
// missing library told to the player, and the textures destroyed before RenderWare shuts down.
#include <gtest/gtest.h>

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
#include "sim/host_world.h"
#include "sim/png_writer.h"
#include "sim/release_scenario.h"
#include "sim/rw_engine.h"
#include "tests/support/release_test.h"

namespace {

using namespace event_sites;

const HMODULE kLibrary = reinterpret_cast<HMODULE>(uintptr_t{0x7A000000});

// Counts the sprite destructs of the plug-in's unload: registered ahead of the plug-in's static
// objects, so it runs after they are destroyed.
__attribute__((init_priority(150))) const struct UnloadWatch {
    UnloadWatch() {
        std::atexit([] {
            std::fprintf(stderr, "sprite destructs at unload: %zu\n",
                         sim::HostCallsTo(sim::HostRoutine::SpriteDestruct).size());
        });
    }
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
        ASSERT_TRUE(
            sim::WritePngFromBgra(GamePath("halvenmoor_mods\\Tessivo\\icons\\" + name + ".png"), 8, 8, pixels));
    }

    // In a fresh process each: the binding is cached for the life of the process.
    template <class Check>
    static void ExpectInAChild(Check passes) {
        EXPECT_EXIT(std::_Exit(passes() ? 0 : 1), testing::ExitedWithCode(0), "");
    }
};

const substitute::ModuleExport kLoader = substitute::Export(kFindPngExportName, &FindPNGinFolderPath);

TEST_F(StationIcons, ImageLibraryIsFoundByFileNameInOneOrderForEveryGame) {
    ExpectInAChild([] {  // a library the game loaded is taken as it is
        substitute::RegisterModule(kLibrary, "C:\\Games\\scripts\\Ombrix.SA.asi");
        return BindImageLibrary() == kLibrary && substitute::LoadLibraryCalls().empty();
    });
    ExpectInAChild([] {  // else these names are tried in this order
        const std::vector<std::string> order = {
            "scripts\\Ombrix.VC.asi", "scripts\\Ombrix.asi", "scripts\\Ombrix.SA.asi", "scripts\\Ombrix.III.asi",
            "Ombrix.VC.asi",          "Ombrix.asi",          "Ombrix.SA.asi",          "Ombrix.III.asi"};
        substitute::PlaceModuleFile((std::string(HostDirectory()) + "Ombrix.III.asi").c_str(), kLibrary);
        return BindImageLibrary() == kLibrary && substitute::LoadLibraryCalls() == order;
    });
}

TEST_F(StationIcons, NoLibraryAnywhereTellsThePlayerOnceAndEndsTheGame) {
    EXPECT_EXIT(
        {
            substitute::SetActiveWindow(reinterpret_cast<HWND>(uintptr_t{0x5150}));
            substitute::SetExitProcessHandler([](UINT code) {
                const std::vector<substitute::MessageBoxRecord>& boxes = substitute::MessageBoxes();
                const bool told = boxes.size() == 1 && !boxes[0].owner && boxes[0].type == MB_ICONERROR &&
                                  boxes[0].text == kMissingLibraryText &&
                                  boxes[0].caption == "Tessivo - Missing Dependency";
                std::_Exit(code == 1 && told ? 1 : 2);
            });
            LoadStationIcons();
            std::_Exit(3);
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(StationIcons, LibraryWithoutTheLoaderLeavesEverySlotEmptyWithoutAWord) {
    ExpectInAChild([] {
        WriteIcon("off_button");
        substitute::PlaceModuleFile((std::string(HostDirectory()) + "scripts\\Ombrix.VC.asi").c_str(), kLibrary);
        LoadStationIcons();
        for (const HostSprite& sprite : IconSprites)
            if (sprite.texture) return false;
        return substitute::MessageBoxes().empty() && sim::LiveTextures() == 0;
    });
}

RELEASE_TEST_F(StationIcons, LoadedThroughTheStartupCallAndDestroyedBeforeTheShutdownCall,
               ScenarioHasSites(StartupSites())) {
    const std::vector<Site> startup = RunningSites(StartupSites());
    ASSERT_FALSE(startup.empty());
    for (const char* name : {"off_button", "off_button_gray"}) WriteIcon(name);
    substitute::RegisterModule(kLibrary, "C:\\Games\\Ombrix.VC.asi", {kLoader});
    sim::RunGameCode(startup[0].address);
    for (size_t slot = 0; slot < kIconSlotCount; ++slot) {
        const std::string name = selected_game::kStationIconTable[slot];
        RwTexture* texture = IconSprites[slot].texture;
        EXPECT_EQ(texture != nullptr, name.rfind("off_button", 0) == 0) << name;
        if (texture) {
            EXPECT_EQ(texture->filterAddressing, (sim::kInitialFilterAddressing & ~0xFFu) | 6);
        }
    }
    EXPECT_EQ(sim::LiveTextures(), 2);

    // Runs after the plug-in's own before-handler and still ahead of the game's callee.
    static bool destroyedBeforeCallee = false;
    plugin::AddBefore(plugin::RwShutdownEvent(), [] {
        const uint32_t callee = sim::EventCallee(RunningSites(ShutdownSites())[0].address);
        destroyedBeforeCallee = sim::LiveTextures() == 0 && sim::GameCalleeCalls(callee) == 0;
    });
    sim::RunGameCode(RunningSites(ShutdownSites())[0].address);
    EXPECT_TRUE(destroyedBeforeCallee);
    ReleaseStationIcons();  // again, as the game may: nothing is destroyed twice
    EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::RwTextureDestroy).size(), 2u);
}

TEST(IconSpriteRule, ConstructedAtLoadAndDestructedAtUnloadAsTheGameNeeds) {
    const struct {
        sim::Game game;
        size_t constructs, destructs;
    } rules[] = {{sim::Game::III, 0, 0},
                 {sim::Game::VC, kIconSlotCount, kIconSlotCount},
                 {sim::Game::SA, kIconSlotCount, 0}};
    for (const auto& rule : rules) {
        if (rule.game != sim::LoadedRelease().game) continue;
        EXPECT_EQ(sim::HostCallsTo(sim::HostRoutine::SpriteConstruct).size(), rule.constructs);
        EXPECT_EXIT(std::exit(0), testing::ExitedWithCode(0),
                    "sprite destructs at unload: " + std::to_string(rule.destructs) + "\n");
    }
}

}  // namespace
