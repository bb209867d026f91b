// The scripted drive as a player sees it: nothing on foot, the tuned station's icon at the top
// centre, a slide to each new station, the fade 4 s after the last change, and the pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "../host/event_sites.h"
#include "game_folder.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "radio/image_library_binding.h"
#include "radio/station_ring.h"
#include "sim/compositor.h"
#include "sim/host_routines.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"
#include "sim/scripted_drive.h"
#include "tests/support/release_test.h"

namespace {

using namespace event_sites;

class StripDrive : public GameFolderTest {
protected:
    void SetUp() override {
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
        sim::RunGameCode(RunningSites(StartupSites())[0].address);
        frames_ = sim::PlayDrive(sim::RadioDriveScript());
    }
    void TearDown() override {
        sim::RunGameCode(RunningSites(ShutdownSites())[0].address);
        GameFolderTest::TearDown();
    }

    std::vector<sim::DriveFrame> frames_;
};

RELEASE_TEST_F(StripDrive, PlayerSeesTheTunedStationSlideInAndFadeOut, ScenarioHasSites(FrameSites())) {
    // The colour icon of `station`: centred, else on its way in from the right, its alpha in a range.
    const struct {
        const char* what; uint32_t frame; bool centred; int32_t station; int alphaFrom, alphaTo;
    } cases[] = {
        {"settled on the station got in with", 59, true, 2, 192, 192},
        {"the press aims at the next station", 61, false, 3, 1, 191},
        {"the slide has arrived", 109, true, 3, 192, 192},
        {"the second press", 112, false, 4, 1, 191},
        {"the last frame before the deadline", 310, true, 4, 192, 192},
        {"fading", 316, true, 4, 1, 191},
    };
    const StationRing ring = BuildStationRing(false);
    const float width = sim::kDriveScreenWidth, height = sim::kDriveScreenHeight;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<sim::DrawnCall>& drawn = frames_.at(c.frame).drawn;
        // Every icon is there, so the texture created k-th is the icon of slot k - 1.
        const games::StationRingEntry& entry = ring.entries[RingPosition(ring, c.station)];
        const auto icon = std::find_if(drawn.begin(), drawn.end(), [&](const sim::DrawnCall& call) {
            return call.routine == sim::HostRoutine::SpriteDraw && call.texture == uint32_t(entry.colourSlot) + 1;
        });
        ASSERT_NE(icon, drawn.end());
        ASSERT_NE(icon, drawn.begin());
        EXPECT_EQ(icon[-1].texture, uint32_t(entry.greySlot) + 1) << "grey drawn first";
        EXPECT_NEAR((icon->rect.top + icon->rect.bottom) / 2, height / 12, 1e-3f);
        // Off the centre by less than the spacing of neighbours while on its way in.
        const float offset = (icon->rect.left + icon->rect.right) / 2 - width / 2;
        EXPECT_TRUE(c.centred ? std::fabs(offset) < 1e-3f : offset > 1 && offset < height / 6) << offset;
        EXPECT_GE(icon->colour.alpha, c.alphaFrom);
        EXPECT_LE(icon->colour.alpha, c.alphaTo);
    }
}

RELEASE_TEST_F(StripDrive, PicturesShowTheStripAtTheTopCentreOnlyInTheCarUntilItFades, ScenarioHasSites(FrameSites())) {
    const sim::Canvas background = sim::MakeBackground(sim::kDriveScreenWidth, sim::kDriveScreenHeight);
    const size_t centre = ((sim::kDriveScreenHeight / 12) * background.width + background.width / 2) * 4;
    const sim::Canvas shown = sim::ComposeFrame(frames_.at(59).calls, background);
    EXPECT_NE(std::vector<uint8_t>(shown.bgra.begin() + centre, shown.bgra.begin() + centre + 4),
              std::vector<uint8_t>(background.bgra.begin() + centre, background.bgra.begin() + centre + 4));
    for (uint32_t frame : {5u, 330u, 345u})  // on foot, faded, out of the car
        EXPECT_EQ(sim::ComposeFrame(frames_.at(frame).calls, background).bgra, background.bgra) << frame;
}

}  // namespace
