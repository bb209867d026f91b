// The stand-in's host routines: a layout that overlaps nothing else the stand-in writes, for
// every game, release and image base, and a routine reached at its game address.
#include <gtest/gtest.h>

#include <iterator>
#include <type_traits>
#include <vector>

#include "games/iii/event_call_sites.h"
#include "games/iii/rw_functions.h"
#include "games/iii/version_signatures.h"
#include "games/sa/event_call_sites.h"
#include "games/sa/rw_functions.h"
#include "games/sa/version_signatures.h"
#include "games/vc/event_call_sites.h"
#include "games/vc/rw_functions.h"
#include "games/vc/version_signatures.h"
#include "sim/game_code.h"
#include "sim/game_image.h"
#include "sim/host_layout.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"

namespace {

using sim::Game;

struct Span {
    const char* name;
    uint32_t address, size;
};

template <class First, class... Rest>
auto Join(const First& first, const Rest&... rest) {
    std::vector<std::decay_t<decltype(first[0])>> all(std::begin(first), std::end(first));
    (all.insert(all.end(), std::begin(rest), std::end(rest)), ...);
    return all;
}

// What else the stand-in writes into a game's image, of any release.
struct GameWrites {
    Game game;
    games::HostRwFunctions rw;
    std::vector<games::EventCallSite> sites;
    std::vector<games::VersionSignature> signatures;
};

namespace iii = games::iii;
namespace vc = games::vc;
namespace sa = games::sa;
const GameWrites kGames[] = {
    {Game::III, iii::kRwFunctions, Join(iii::kRwStartupSites, iii::kFrameProcessSites, iii::kRwShutdownSites),
     Join(iii::kVersionSignatures)},
    {Game::VC, vc::kRwFunctions, Join(vc::kRwStartupSites, vc::kFrameProcessSites, vc::kRwShutdownSites),
     Join(vc::kVersionSignatures)},
    {Game::SA, sa::kRwFunctions, Join(sa::kRwStartupSites, sa::kFrameProcessSites, sa::kRwShutdownSites),
     Join(sa::kVersionSignatures)},
};

void ExpectNoOverlap(const GameWrites& g, int32_t code, uint32_t base) {
    const uint32_t jump = static_cast<uint32_t>(sim::JumpToRoutineSize());
    std::vector<Span> spans = {
        {"launcher", sim::kLauncherAddress, 16},       {"RwRasterCreate", g.rw.rasterCreate, jump},
        {"RwRasterDestroy", g.rw.rasterDestroy, jump}, {"RwRasterLock", g.rw.rasterLock, jump},
        {"RwRasterUnlock", g.rw.rasterUnlock, jump},   {"RwTextureCreate", g.rw.textureCreate, jump}};
    for (const games::VersionSignature& row : g.signatures)
        if (row.code == code) spans.push_back({"signature", row.probeAddress, 4});
    const std::vector<sim::HostPlacement> layout = sim::HostLayout(g.game, code, base);
    for (const games::EventCallSite& site : g.sites) {
        if (site.version != code) continue;
        spans.push_back({"event site", site.address, 6});
        // The sites' pages are read-execute by the time the routines are written.
        for (const sim::HostPlacement& p : layout)
            EXPECT_NE(p.address >> 12, site.address >> 12) << p.name << " beside an event site";
    }
    for (const sim::HostPlacement& p : layout) {
        EXPECT_GE(p.address, sim::kPreferredImageBase) << p.name;
        EXPECT_LE(p.address + p.size, sim::kPreferredImageBase + sim::kGameImageSize) << p.name;
        spans.push_back({p.name, p.address, p.size});
    }
    for (size_t i = 0; i < spans.size(); ++i)
        for (size_t j = i + 1; j < spans.size(); ++j)
            EXPECT_FALSE(spans[i].address < spans[j].address + spans[j].size &&
                         spans[j].address < spans[i].address + spans[i].size)
                << spans[i].name << " and " << spans[j].name << " in release " << code;
}

TEST(HostLayout, PlacementsStayInTheImageAndOverlapNothing) {
    for (const GameWrites& g : kGames)
        for (uint32_t base : {sim::kPreferredImageBase, 0x500000u}) {
            ExpectNoOverlap(g, 0, base);
            for (const games::VersionSignature& row : g.signatures) ExpectNoOverlap(g, row.code, base);
        }
}

// The jump written at the game's address must land in the stand-in's routine with its object
// and argument as the game passes them.
TEST(HostRoutines, APlacedRoutineIsReachedAtItsGameAddress) {
    ASSERT_TRUE(sim::MapGameImage(sim::kPreferredImageBase));
    for (const GameWrites& g : kGames) {
        sim::InstallHostRoutines(g.game, g.game == Game::SA ? 1001 : 110);
        sim::ResetHostWorld();
        const games::HostCells& cells = *sim::HostCellsOf(g.game);
        uint8_t* audio = sim::HostCellBytes(cells.audio);
        reinterpret_cast<void (*)(void*, uint32_t)>(sim::HostCellBytes(cells.setRadioVolume))(audio, 0x40);
        ASSERT_EQ(sim::HostCallLog().size(), 1u);
        EXPECT_EQ(sim::HostCallLog()[0].routine, sim::HostRoutine::SetRadioVolume);
        EXPECT_EQ(sim::HostCallLog()[0].self, audio);
        EXPECT_EQ(sim::HostCallLog()[0].args[0], 0x40);
    }
}

}  // namespace
