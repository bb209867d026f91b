// Every allocation a load or a frame makes failing in turn, as a crowded 32-bit game's heap can
// make any of them fail: the caller gets the failure the load or the frame already has (null, a
// miss that decodes, an unfinished chain, the frame skipped), the game's own call still runs
// once, and nothing is left behind: no COM object, raster, texture or open file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../host/event_sites.h"
#include "game_folder.h"
#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "platform/posix/user32.h"
#include "radio/key_latch.h"
#include "radio/radio_strip_settings.h"
#include "sim/host_world.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/release_test.h"

namespace {

const char kPng[] = "icon.png";  // in the current directory, the test's own
const char kPngCache[] = ".mipcache/icon.png_24x10.mipmap";
const char kSvg[] = "blurred.svg";
const char kSvgCache[] = ".mipcache/blurred.svg_16x16.mipmap";
const char kSettings[] = "halvenmoor_mods\\Tessivo\\tessivo.ini";

// One blurred element among plain ones: each level is drawn element by element.
const char kBlurredSvg[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
    "<defs><filter id=\"soft\"><feGaussianBlur stdDeviation=\"1.5\"/></filter></defs>"
    "<rect width=\"16\" height=\"16\" fill=\"#204080\"/>"
    "<circle cx=\"8\" cy=\"8\" r=\"4\" fill=\"#ffffff\" style=\"filter:url(#soft)\"/>"
    "<rect x=\"2\" y=\"2\" width=\"3\" height=\"3\" fill=\"#ff0000\"/>"
    "</svg>";

using AllocationFaults = GameFolderTest;

RELEASE_TEST_F(AllocationFaults, EveryFailedAllocationEndsInTheNamedFailureWithNothingLeft,
               event_sites::ScenarioHasSites(event_sites::FrameSites())) {
    sim::ResetRwEngine();
    sim::InstallRwEngine(selected_game::kRwFunctions);
    ASSERT_TRUE(sim::WritePngFromBgra(kPng, 24, 10, std::vector<uint8_t>(24 * 10 * 4, 0x60)));
    WriteFile(kSvg, kBlurredSvg);
    WriteFile(GamePath(kSettings), "[Settings]\r\nIconGap=5\r\nRadioSliderTimeout=900\r\n");

    const uint32_t frameSite = event_sites::RunningSites(event_sites::FrameSites()).at(0).address;
    const uint32_t frameCallee = sim::EventCallee(frameSite);
    const RadioStripSettings defaults{};
    RadioStripSettings reloaded{};
    reloaded.IconGap = 5;
    reloaded.RadioSliderTimeout = 900;

    // A load ends as null, as the complete chain (filter 6) with its cache file, or as a chain
    // a level of which failed (filter 2) with no cache file written for it.
    auto load = [](std::function<RwTexture*()> call, const char* cacheFile, bool cacheDeleted,
                   uint32_t fullLevels) {
        return [=]() -> std::string {
            RwTexture* texture = call();
            failing_allocator::Disarm();
            if (!texture) return failing_allocator::Failed() ? "" : "null without a failure";
            const uint32_t filter = texture->filterAddressing & 0xFF;
            const uint32_t levels = sim::RasterLevelCount(texture->raster);
            sim::DestroyTexture(texture);
            if (filter == 6 && levels == fullLevels && Exists(cacheFile)) return "";
            if (filter == 2 && !(cacheDeleted && Exists(cacheFile)) && failing_allocator::Failed())
                return "";
            return "texture with filter " + std::to_string(filter) + ", " + std::to_string(levels) +
                   " levels, cache file " + (Exists(cacheFile) ? "present" : "absent");
        };
    };
    auto removeFile = [](const char* path) { return [=] { std::remove(path); }; };
    auto keepCacheFile = [](const char* path, std::function<RwTexture*()> call) {
        return [=] {
            if (Exists(path)) return;
            if (RwTexture* texture = call()) sim::DestroyTexture(texture);
        };
    };
    auto png = [] { return LoadPNGToRwTexture(kPng, 0, 0, 1, 0); };
    auto pngAtItsSize = [] { return LoadPNGToRwTexture(kPng, 24, 10, 1, 0); };
    auto svg = [] { return LoadSVGToRwTexture(kSvg, 0, 0, 1, 0); };

    const struct Case {
        const char* what;
        std::function<void()> prepare;     // before each run, every allocation succeeding
        std::function<std::string()> run;  // disarms the failure itself; "" when it ended well
    } cases[] = {
        {"PNG load", removeFile(kPngCache), load(png, kPngCache, true, 5)},
        {"SVG load with a blur", removeFile(kSvgCache), load(svg, kSvgCache, true, 5)},
        {"cache hit", keepCacheFile(kPngCache, pngAtItsSize), load(pngAtItsSize, kPngCache, false, 5)},
        {"radio frame with a reload",
         [&] {
             radioStripSettings = defaults;
             KeyLatch = {};
             substitute::SetUser32Loaded(true);
             substitute::SetKeyDown(defaults.ReloadKey, true);
         },
         [&]() -> std::string {
             const uint32_t calls = sim::GameCalleeCalls(frameCallee);
             const uint32_t result = sim::RunGameCode(frameSite);
             sim::RunGameCode(selected_game::kHostCells.replacedRoutine.address);
             failing_allocator::Disarm();
             if (result != sim::EventCalleeResult(frameSite)) return "the game's callee's result was lost";
             if (sim::GameCalleeCalls(frameCallee) != calls + 1) return "the game's callee did not run once";
             auto same = [](const RadioStripSettings& a, const RadioStripSettings& b) {
                 return std::memcmp(&a, &b, sizeof a) == 0;
             };
             if (!same(radioStripSettings, defaults) && !same(radioStripSettings, reloaded))
                 return "settings half reloaded";
             if (!failing_allocator::Failed() && !same(radioStripSettings, reloaded))
                 return "no reload without a failure";
             return "";
         }},
    };
    // The imaging factory is made once and kept for the process: made here, before any count.
    sim::DestroyTexture(png());
    std::remove(kPngCache);

    for (const Case& c : cases) {
        long successes = 0;
        for (bool failed = true; failed; ++successes) {
            ASSERT_LT(successes, 20000) << c.what;
            c.prepare();
            const long liveCom = substitute::LiveComObjects();
            failing_allocator::FailAfter(successes);
            const std::string fault = c.run();
            failed = failing_allocator::Failed();
            failing_allocator::Disarm();
            SCOPED_TRACE(testing::Message() << c.what << ", allocation " << successes << " failing");
            EXPECT_EQ(fault, "");
            EXPECT_EQ(substitute::LiveComObjects(), liveCom);
            EXPECT_EQ(sim::LiveRasters(), 0);
            EXPECT_EQ(sim::LiveTextures(), 0);
            EXPECT_EQ(substitute::OpenFileHandles(), 0);
            if (HasFailure()) return;
        }
        // The run without a failure took the last count: every allocation before it was failed.
        EXPECT_GT(successes, 1) << c.what << " made no allocation to fail";
    }
}

}  // namespace
