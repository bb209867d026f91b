// The stand-in's host routines: a layout without overlaps for every game and release, and
// every routine reached at its game address with its object.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "games/iii/event_call_sites.h"
#include "games/iii/host_cells.h"
#include "games/iii/rw_functions.h"
#include "games/iii/version_signatures.h"
#include "games/sa/event_call_sites.h"
#include "games/sa/host_cells.h"
#include "games/sa/rw_functions.h"
#include "games/sa/version_signatures.h"
#include "games/vc/event_call_sites.h"
#include "games/vc/host_cells.h"
#include "games/vc/rw_functions.h"
#include "games/vc/version_signatures.h"
#include "sim/game_code.h"
#include "sim/game_image.h"
#include "sim/host_layout.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "sim/rw_engine.h"

namespace {

using sim::Game;
using sim::HostRoutine;

struct Span {
    const char* name;
    uint32_t address;
    uint32_t size;
};

// What else the stand-in writes into a game's image, of any release.
struct GameWrites {
    Game game;
    games::HostRwFunctions rw;
    std::vector<games::EventCallSite> sites;
    std::vector<games::VersionSignature> signatures;
};

template <class A, class B, class C>
std::vector<games::EventCallSite> Sites(const A& a, const B& b, const C& c) {
    std::vector<games::EventCallSite> all(std::begin(a), std::end(a));
    all.insert(all.end(), std::begin(b), std::end(b));
    all.insert(all.end(), std::begin(c), std::end(c));
    return all;
}

const GameWrites kGames[] = {
    {Game::III, games::iii::kRwFunctions,
     Sites(games::iii::kRwStartupSites, games::iii::kFrameProcessSites,
           games::iii::kRwShutdownSites),
     {std::begin(games::iii::kVersionSignatures), std::end(games::iii::kVersionSignatures)}},
    {Game::VC, games::vc::kRwFunctions,
     Sites(games::vc::kRwStartupSites, games::vc::kFrameProcessSites, games::vc::kRwShutdownSites),
     {std::begin(games::vc::kVersionSignatures), std::end(games::vc::kVersionSignatures)}},
    {Game::SA, games::sa::kRwFunctions,
     Sites(games::sa::kRwStartupSites, games::sa::kFrameProcessSites, games::sa::kRwShutdownSites),
     {std::begin(games::sa::kVersionSignatures), std::end(games::sa::kVersionSignatures)}},
};

bool Overlap(const Span& a, const Span& b) {
    return a.address < b.address + b.size && b.address < a.address + a.size;
}

void ExpectNoOverlap(const GameWrites& g, int32_t code, uint32_t base) {
    const uint32_t jump = static_cast<uint32_t>(sim::JumpToRoutineSize());
    const games::HostRwFunctions& rw = g.rw;
    std::vector<Span> spans = {{"launcher", sim::kLauncherAddress, 16},
                               {"RwRasterCreate", rw.rasterCreate, jump},
                               {"RwRasterDestroy", rw.rasterDestroy, jump},
                               {"RwRasterLock", rw.rasterLock, jump},
                               {"RwRasterUnlock", rw.rasterUnlock, jump},
                               {"RwTextureCreate", rw.textureCreate, jump}};
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
            EXPECT_FALSE(Overlap(spans[i], spans[j])) << spans[i].name << " and " << spans[j].name
                                                      << " in release " << code;
}

TEST(HostLayout, PlacementsStayInTheImageAndOverlapNothing) {
    for (const GameWrites& g : kGames)
        for (uint32_t base : {sim::kPreferredImageBase, 0x500000u}) {
            ExpectNoOverlap(g, 0, base);
            for (const games::VersionSignature& row : g.signatures)
                ExpectNoOverlap(g, row.code, base);
        }
}

TEST(HostLayout, VersionedCellsNeedAKnownReleaseAndFixedOnesThePreferredBase) {
    const games::HostCell versioned = games::vc::kHostCells.clock;
    EXPECT_EQ(sim::CellAddress(Game::VC, 110, 0x500000, versioned), 0x974B34u);
    EXPECT_EQ(sim::CellAddress(Game::VC, 0, 0x400000, versioned), 0u);
    EXPECT_EQ(sim::CellAddress(Game::VC, 110, 0x500000, games::vc::kHostCells.audio), 0u);
    const games::HostCell field = games::sa::kHostCells.pendingStationSteps;
    EXPECT_EQ(sim::CellAddress(Game::SA, 1001, 0x400000, field), 0x8CB6F8u + 0x6C);
}

class HostRoutines : public ::testing::TestWithParam<Game> {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim::MapGameImage(sim::kPreferredImageBase));
        sim::WriteLauncher();
        sim::ResetRwEngine();
        sim::InstallHostRoutines(GetParam(), GetParam() == Game::SA ? 1001 : 110);
        sim::ResetHostWorld();
    }
    const games::HostCells& cells() { return *sim::HostCellsOf(GetParam()); }
    template <class F>
    F* At(const games::HostCell& cell) {
        return reinterpret_cast<F*>(sim::HostCellBytes(cell));
    }
    const sim::HostCall& Last() { return sim::HostCallLog().back(); }
};

TEST_P(HostRoutines, MemberRoutinesReceiveTheirObject) {
    HostSprite sprite = {nullptr};
    uint8_t* audio = sim::HostCellBytes(cells().audio);
    uint8_t* manager = sim::HostCellBytes(cells().radioManager);
    const struct {
        HostRoutine routine;
        const games::HostCell& cell;
        void* self;
    } rows[] = {
        {HostRoutine::SpriteConstruct, cells().spriteConstruct, &sprite},
        {HostRoutine::SpriteDestruct, cells().spriteDestruct, &sprite},
        {HostRoutine::PadHideQuery, cells().padHideQuery, sim::World().padObject},
        {HostRoutine::PadRestoreQuery, cells().padRestoreQuery, sim::World().padObject},
        {HostRoutine::PadRestoreQueryElse, cells().padRestoreQueryElse, sim::World().padObject},
        {HostRoutine::UserTracksAvailable, cells().userTracksAvailable, audio},
        {HostRoutine::CurrentStation, cells().currentStation, audio},
        {HostRoutine::RadioActive, cells().radioActive, manager},
    };
    for (const auto& row : rows) {
        if (!games::IsUsed(row.cell)) continue;
        At<uint32_t(void*)>(row.cell)(row.self);
        EXPECT_EQ(Last().routine, row.routine) << sim::HostRoutineName(row.routine);
        EXPECT_EQ(Last().self, row.self) << sim::HostRoutineName(row.routine);
    }
}

TEST_P(HostRoutines, ArgumentsAreRecordedAsTheGameReceivesThem) {
    uint8_t* audio = sim::HostCellBytes(cells().audio);
    HostSprite sprite = {reinterpret_cast<RwTexture*>(sim::World().vehicleObject)};
    const HostRect rect = {1, 40, 30, 8};
    const HostColour colour = {1, 2, 3, 4};
    At<void(HostSprite*, const HostRect*, const HostColour*)>(cells().spriteDraw)(&sprite, &rect,
                                                                                 &colour);
    EXPECT_EQ(Last().texture, sprite.texture);
    EXPECT_EQ(Last().rect.bottom, 40);
    EXPECT_EQ(Last().colour.alpha, 4);
    EXPECT_EQ(At<void*(int32_t)>(cells().pad)(0), sim::World().padObject);
    if (games::IsUsed(cells().retuneRadio)) {
        At<void(void*, int32_t)>(cells().retuneRadio)(audio, 7);
        EXPECT_EQ(Last().args[0], 7);
    }
    At<void(void*, uint32_t)>(cells().setRadioVolume)(audio, 0xDEAD0040);
    EXPECT_EQ(Last().self, audio);
    EXPECT_EQ(Last().args[0], 0x40) << "only the low byte of the slot counts";
}

TEST_P(HostRoutines, PlayerLookupsTakeThePlayerIndexOnlyInSanAndreas) {
    sim::World().vehicle = sim::World().vehicleObject;
    EXPECT_EQ(At<void*(int32_t, int32_t)>(cells().playerCharacter)(-1, 0), nullptr);
    EXPECT_EQ(Last().argCount, GetParam() == Game::SA ? 1 : 0);
    EXPECT_EQ(At<void*(int32_t, int32_t)>(cells().playerVehicle)(-1, 0), sim::World().vehicle);
    EXPECT_EQ(Last().argCount, GetParam() == Game::SA ? 2 : 0);
}

TEST_P(HostRoutines, ByteAnswersSitInTheLowByteOnly) {
    sim::World().padHide = 1;
    const uint32_t hide = At<uint32_t(void*)>(cells().padHideQuery)(sim::World().padObject);
    EXPECT_EQ(hide, sim::kJunkAboveByteAnswer | 1);
}

TEST_P(HostRoutines, TexturesHandedBackAreDestroyedInCallOrder) {
    HostSprite sprite = {sim::SimRwTextureCreate(sim::SimRwRasterCreate(4, 4, 32, 0))};
    RwTexture* held = sprite.texture;
    RwTexture* other = sim::SimRwTextureCreate(sim::SimRwRasterCreate(4, 4, 32, 0));
    const bool destructs = games::IsUsed(cells().spriteDestruct);
    if (destructs) At<void(HostSprite*)>(cells().spriteDestruct)(&sprite);
    EXPECT_EQ(At<RwBool(RwTexture*)>(cells().rwTextureDestroy)(other), 1);
    ASSERT_EQ(sim::HostCallLog().size(), destructs ? 2u : 1u);
    EXPECT_EQ(Last().routine, HostRoutine::RwTextureDestroy);
    EXPECT_EQ(Last().texture, other);
    if (destructs) {
        EXPECT_EQ(sim::HostCallLog().front().texture, held);
    }
    EXPECT_EQ(sprite.texture, destructs ? nullptr : held);
    EXPECT_EQ(sim::LiveTextures(), destructs ? 0 : 1);
    sim::ResetRwEngine();
}

TEST_P(HostRoutines, RenderStatesReachTheRoutineTheGameKeeps) {
    using SetState = RwBool(RwInt32, void*);
    SetState* set = At<SetState>(cells().rwRenderStateSet);
    if (GetParam() == Game::SA) {
        const games::EngineFunctionPointer engine = games::sa::kRenderStateThroughEngine;
        const uint32_t globals = *reinterpret_cast<uint32_t*>(uintptr_t{engine.enginePointer});
        const uintptr_t slot = globals + engine.offset;
        set = reinterpret_cast<SetState*>(uintptr_t{*reinterpret_cast<uint32_t*>(slot)});
    }
    EXPECT_EQ(set(rwRENDERSTATETEXTUREFILTER, &set), 1);
    EXPECT_EQ(Last().args[0], rwRENDERSTATETEXTUREFILTER);
    EXPECT_EQ(Last().value, static_cast<void*>(&set));
}

TEST_P(HostRoutines, TheReplacedRoutineCountsItsRuns) {
    sim::RunGameCode(sim::HostCellAddress(cells().replacedRoutine));
    EXPECT_EQ(sim::ReplacedRoutineCalls(), 1u);
    EXPECT_TRUE(sim::HostCallLog().empty()) << "the game's own routine calls nothing";
}

INSTANTIATE_TEST_SUITE_P(Games, HostRoutines, ::testing::Values(Game::III, Game::VC, Game::SA),
                         [](const auto& info) {
                             return info.param == Game::III ? "III"
                                    : info.param == Game::VC ? "VC" : "SA";
                         });

}  // namespace
