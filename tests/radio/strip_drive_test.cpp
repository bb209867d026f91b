// The scripted drive as a player sees it: nothing on foot, the tuned station's icon at the top
// centre, a slide to each new station, the fade 4 s after the last change, and the pictures.
#include <gtest/gtest.h>

#include <vector>

#include "../host/event_sites.h"
#include "game_folder.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "radio/image_library_binding.h"
#include "radio/radio_strip_state.h"
#include "radio/station_ring.h"
#include "sim/compositor.h"
#include "sim/host_routines.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"
#include "sim/scripted_drive.h"

namespace {

using namespace event_sites;

class StripDrive : public GameFolderTest {
protected:
    void SetUp() override {
        if (RunningSites(FrameSites()).empty()) GTEST_SKIP() << "the strip runs only where the release is hooked";
        GameFolderTest::SetUp();
        const std::vector<uint8_t> pixels(8 * 8 * 4, 0x80);
        for (const char* name : selected_game::kStationIconTable)
            ASSERT_TRUE(sim::WritePngFromBgra(
                GamePath(std::string("halvenmoor_mods\\Tessivo\\icons\\") + name + ".png"), 8, 8, pixels));
        substitute::ForgetModules();
        substitute::RegisterModule(reinterpret_cast<HMODULE>(uintptr_t{0x7A000000}), "C:\\Games\\Ombrix.VC.asi",
                                   {substitute::Export(kFindPngExportName, &FindPNGinFolderPath)});
        sim::ResetRwEngine();
        sim::InstallRwEngine(selected_game::kRwFunctions);
        sim::ResetHostWorld();
        radioStripState = RadioStripState{};
        sim::RunGameCode(RunningSites(StartupSites())[0].address);
        frames_ = sim::PlayDrive(sim::RadioDriveScript());
    }
    void TearDown() override {
        if (IsSkipped()) return;
        sim::RunGameCode(RunningSites(ShutdownSites())[0].address);
        GameFolderTest::TearDown();
    }

    std::vector<sim::DriveFrame> frames_;
};

// Every icon is there, so the texture created k-th is the icon of slot k - 1.
uint32_t TextureOf(int32_t slot) { return static_cast<uint32_t>(slot) + 1; }

const games::StationRingEntry& EntryOf(int32_t station) {
    static const StationRing ring = BuildStationRing(false);
    return ring.entries[RingPosition(ring, station)];
}

TEST_F(StripDrive, PlayerSeesTheTunedStationSlideInAndFadeOut) {
    enum Where { Nothing, Centred, RightOfCentre };
    struct Case {
        const char* what;
        uint32_t frame;
        Where where;
        int32_t station;  // whose colour icon is drawn
        int alpha;        // of that icon; -1: between 0 and 192
    };
    const Case cases[] = {
        {"on foot", 5, Nothing, 0, 0},
        {"settled on the station got in with", 59, Centred, 2, 192},
        {"the press aims at the next station", 61, RightOfCentre, 3, -1},
        {"the slide has arrived", 109, Centred, 3, 192},
        {"the second press", 112, RightOfCentre, 4, -1},
        {"the last frame before the deadline", 310, Centred, 4, 192},
        {"fading", 316, Centred, 4, -1},
        {"faded", 330, Nothing, 0, 0},
        {"out of the car", 345, Nothing, 0, 0},
    };
    const float width = sim::kDriveScreenWidth, height = sim::kDriveScreenHeight;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<sim::DrawnCall>& drawn = frames_.at(c.frame).drawn;
        size_t colour = drawn.size();
        for (size_t i = 0; i < drawn.size(); ++i)
            if (drawn[i].routine == sim::HostRoutine::SpriteDraw && drawn[i].texture == TextureOf(EntryOf(c.station).colourSlot))
                colour = i;
        if (c.where == Nothing) {
            for (const sim::DrawnCall& call : drawn) EXPECT_NE(call.routine, sim::HostRoutine::SpriteDraw);
            continue;
        }
        ASSERT_LT(colour, drawn.size());
        ASSERT_GT(colour, 0u);
        const sim::DrawnCall& icon = drawn[colour];
        EXPECT_EQ(drawn[colour - 1].texture, TextureOf(EntryOf(c.station).greySlot)) << "grey drawn first";
        const float x = (icon.rect.left + icon.rect.right) / 2, y = (icon.rect.top + icon.rect.bottom) / 2;
        EXPECT_NEAR(y, height / 12, 1e-3f);
        if (c.where == Centred) {
            EXPECT_NEAR(x, width / 2, 1e-3f);
        }
        if (c.where == RightOfCentre) {
            EXPECT_GT(x, width / 2 + 1);
            EXPECT_LT(x, width / 2 + height / 3 * 0.5f);
        }
        if (c.alpha >= 0) {
            EXPECT_EQ(icon.colour.alpha, c.alpha);
        } else {
            EXPECT_GT(icon.colour.alpha, 0);
            EXPECT_LT(icon.colour.alpha, 192);
        }
    }
}

TEST_F(StripDrive, PicturesShowTheStripAtTheTopCentreUntilItFades) {
    const sim::Canvas background = sim::MakeBackground(sim::kDriveScreenWidth, sim::kDriveScreenHeight);
    const size_t centre = ((sim::kDriveScreenHeight / 12) * background.width + background.width / 2) * 4;
    const sim::Canvas shown = sim::ComposeFrame(frames_.at(59).calls, background);
    EXPECT_NE(std::vector<uint8_t>(shown.bgra.begin() + centre, shown.bgra.begin() + centre + 4),
              std::vector<uint8_t>(background.bgra.begin() + centre, background.bgra.begin() + centre + 4));
    EXPECT_EQ(sim::ComposeFrame(frames_.at(330).calls, background).bgra, background.bgra);
}

}  // namespace
