// Every accessor reaches the game's routine or variable at the address each release has it
// at. The addresses below are written out again from the games' own tables on purpose: the
// tables in games/ and these rows are two transcriptions that must agree.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "host/host_version.h"
#include "radio/host_accessors.h"
#include "sim/game_image.h"
#include "sim/host_routines.h"
#include "sim/host_world.h"
#include "sim/release_scenario.h"
#include "tests/support/release_test.h"

namespace {

// A game address per game: III and Vice City by release (100, 110, 120), San Andreas fixed.
// 0: the game does not have it.
struct Where { std::array<uint32_t, 3> iii, vc; uint32_t sa; };

constexpr Where Same(uint32_t iii, uint32_t vc, uint32_t sa) { return {{iii, iii, iii}, {vc, vc, vc}, sa}; }

// The address in the laid-out release, 0 where it has none (or the release is unknown).
uint32_t AddressOf(const Where& where) {
    const sim::ReleaseScenario& release = sim::LoadedRelease();
    const int index = release.code == 100 ? 0 : release.code == 110 ? 1 : release.code == 120 ? 2 : -1;
    if (release.game == sim::Game::SA) return release.code ? where.sa : 0;
    if (index < 0 || release.game == sim::Game::None) return 0;
    return (release.game == sim::Game::III ? where.iii : where.vc)[index];
}

bool AtPreferredBase() { return sim::LoadedRelease().imageBase == sim::kPreferredImageBase; }

bool probed = false;
uint32_t Probe() { return probed = true, 0; }

HostSprite sprite{nullptr};
const HostRect rect{1, 2, 3, 4};
const HostColour colour{5, 6, 7, 8};

// What a variable's accessor read, its bytes as a little-endian number.
uint32_t read = 0;
template <class T>
void Read(T value) { read = 0, std::memcpy(&read, &value, sizeof value); }

constexpr uint32_t kRoutine = 0;
constexpr uint32_t kWord = 0x44332211, kByte = 0x11;  // over the bytes 11 22 33 44: all four, the first

struct Row {
    const char* name;
    Where where;
    std::function<void()> use;
    uint32_t reads = kRoutine;  // a variable's; a routine is reached when called
};

const Row kRows[] = {
    {"RwRenderStateSet", Same(0x5A43C0, 0x649BA0, 0), [] { RwRenderStateSet(9, nullptr); }},
    {"RwTextureDestroy", Same(0x5A7330, 0x64DEC0, 0x7F3820), [] { RwTextureDestroy(nullptr); }},
    {"HostSpriteDraw", {{0x51ED50, 0x51EF80, 0x51EF10}, {0x578710, 0x578710, 0x578710}, 0x728350},
     [] { HostSpriteDraw(&sprite, rect, colour); }},
    {"HostSpriteConstruct", Same(0, 0x578A60, 0x727230), [] { HostSpriteConstruct(&sprite); }},
    {"HostSpriteDestruct", Same(0, 0x578A40, 0), [] { HostSpriteDestruct(&sprite); }},
    {"HostPlayerCharacter", Same(0x4A1150, 0x4BC120, 0x56E210), [] { HostPlayerCharacter(); }},
    {"HostPlayerVehicle", Same(0x4A10C0, 0x4BC1E0, 0x56E0D0), [] { HostPlayerVehicle(); }},
    {"HostPad", {{0x492F60, 0x492F60, 0x492F60}, {0x4AB060, 0x4AB080, 0x4AAF30}, 0x53FB70}, [] { HostPad(0); }},
    {"HostPadHideQuery", {{0x4935F0, 0x4935F0, 0x4935F0}, {0x4AA8F0, 0x4AA910, 0x4AA7C0}, 0x5400D0},
     [] { HostPadHideQuery(HostPad(0)); }},
    {"HostPadRestoreQuery", {{0x493870, 0x493870, 0x493870}, {0x4AA590, 0x4AA5B0, 0x4AA460}, 0x5405B0},
     [] { HostPadRestoreQuery(HostPad(0)); }},
    {"HostPadRestoreQuery, second", Same(0, 0, 0x5405E0), [] { HostPadRestoreQuery(HostPad(0)); }},
    {"HostUserTracksAvailable", {{0x57C9F0, 0x57CD40, 0x57CC40}, {0x5F9BB0, 0x5F9BB0, 0x5F9BB0}, 0},
     [] { HostUserTracksAvailable(HostAudio()); }},
    {"HostRetuneRadio", {{0x57CE60, 0x57D1B0, 0x57D0B0}, {0x5F9730, 0x5F9730, 0x5F9730}, 0},
     [] { HostRetuneRadio(HostAudio(), 3); }},
    {"HostSetRadioVolume", {{0x57C8C0, 0x57CC10, 0x57CB10}, {0x5F9D20, 0x5F9D20, 0x5F9D20}, 0x506DE0},
     [] { HostSetRadioVolume(HostAudio(), 64); }},
    {"HostCurrentStation", Same(0, 0, 0x507040), [] { HostCurrentStation(HostAudio()); }},
    {"HostRadioActive", Same(0, 0, 0x4E9800), [] { HostRadioActive(HostRadioManager()); }},
    {"HostClock", {{0x885B48, 0x885AF8, 0x895C38}, {0x974B2C, 0x974B34, 0x973B34}, 0xB7CB84},
     [] { Read(HostClock()); }, kWord},
    {"HostTimeStep", {{0x8E2CB4, 0x8E2D68, 0x8F2EA8}, {0x975424, 0x97542C, 0x97442C}, 0xB7CB5C},
     [] { Read(HostTimeStep()); }, kWord},
    {"HostSuppressFlags 1", {{0x95CD7C, 0x95CF34, 0x96D074}, {0xA10B36, 0xA10B3E, 0xA0FB3F}, 0xB7CB49},
     [] { Read(HostSuppressFlag(0)); }, kByte},
    {"HostSuppressFlags 2", {{0x95CDB1, 0x95CF69, 0x96D0A9}, {0xA10B76, 0xA10B7F, 0xA0FB80}, 0xB7CB48},
     [] { Read(HostSuppressFlag(1)); }, kByte},
    {"HostSuppressFlags 3", {{0x6FAD68, 0x6FAD68, 0x70AEA8}, {0x7E46F5, 0x7E46F5, 0x7E46F5}, 0xB6F065},
     [] { Read(HostSuppressFlag(2)); }, kByte},
    {"HostSuppressFlags 4", Same(0x95CD5B, 0xA10AF6, 0xA43088), [] { Read(HostSuppressFlag(3)); }, kByte},
    {"HostScreenWidth", Same(0x8F4364, 0x9B48DC, 0xC17044), [] { Read(HostScreenWidth()); }, kWord},
    {"HostScreenHeight", Same(0x8F4368, 0x9B48E0, 0xC17048), [] { Read(HostScreenHeight()); }, kWord},
    {"HostPendingStationSteps", Same(0x650B80, 0x783998, 0x8CB764),
     [] { Read(HostPendingStationSteps()); }, kWord},
    {"HostRadioVolumeSetting", Same(0x5F2E4C, 0x86965A, 0xBA6798), [] { Read(HostRadioVolumeSetting()); }, kByte},
};

// Fixed addresses need the image at 0x400000.
RELEASE_TEST(HostAccessors, EveryAccessorReachesItsAddress, AtPreferredBase()) {
    for (const Row& row : kRows) {
        const uint32_t address = AddressOf(row.where);
        if (address == 0) continue;
        SCOPED_TRACE(row.name);
        uint8_t* const at = sim::GameBytes(address);
        const std::vector<uint8_t> saved(at, at + 16);
        if (row.reads == kRoutine)
            sim::WriteJumpToRoutine(address, reinterpret_cast<const void*>(&Probe));
        else
            std::memcpy(at, "\x11\x22\x33\x44", 4);
        probed = false;
        row.use();
        EXPECT_TRUE(row.reads == kRoutine ? probed : read == row.reads) << std::hex << read;
        std::memcpy(at, saved.data(), saved.size());
    }
}

// The others call a fixed address.
RELEASE_TEST(HostAccessors, SanAndreasSetsRenderStatesThroughTheEngineGlobals,
             sim::LoadedRelease().game == sim::Game::SA) {
    const uint32_t engine = *reinterpret_cast<const uint32_t*>(sim::GameBytes(0xC97B24));
    uint32_t& cell = *reinterpret_cast<uint32_t*>(uintptr_t{engine} + 32);
    const uint32_t saved = std::exchange(cell, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&Probe)));
    probed = false;
    RwRenderStateSet(12, reinterpret_cast<void*>(1));
    EXPECT_TRUE(probed);
    cell = saved;
}

// Needs every routine in place.
RELEASE_TEST(HostAccessors, MemberRoutinesReceiveTheirObject,
             AtPreferredBase() && sim::LoadedRelease().code != 0) {
    sim::ResetHostWorld();
    auto at = [](const Where& where) { return reinterpret_cast<void*>(uintptr_t{AddressOf(where)}); };
    void* const audio = at({{0x95CDBE, 0x95CF76, 0x96D0B6}, {0xA10B8A, 0xA10B8A, 0xA10B8A}, 0xB6BC90});
    void* const manager = at(Same(0, 0, 0x8CB6F8));
    EXPECT_EQ(HostAudio(), audio);
    EXPECT_EQ(HostRadioManager(), manager);
    using R = sim::HostRoutine;
    const void* pad = sim::World().padObject;
    const std::pair<R, const void*> members[] = {
        {R::SpriteDraw, &sprite},      {R::SpriteConstruct, &sprite}, {R::SpriteDestruct, &sprite},
        {R::PadHideQuery, pad},        {R::PadRestoreQuery, pad},     {R::PadRestoreQueryElse, pad},
        {R::UserTracksAvailable, audio}, {R::RetuneRadio, audio},     {R::SetRadioVolume, audio},
        {R::CurrentStation, audio},    {R::RadioActive, manager}};
    for (const Row& row : kRows)
        if (AddressOf(row.where)) row.use();
    for (const sim::HostCall& call : sim::HostCallLog()) {
        const void* self = nullptr;  // a free routine's
        for (const auto& [routine, object] : members)
            if (routine == call.routine) self = object;
        EXPECT_EQ(call.self, self) << call.name;
    }
    const std::vector<sim::HostCall> draws = sim::HostCallsTo(R::SpriteDraw);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(std::memcmp(&draws[0].rect, &rect, sizeof rect), 0);
    EXPECT_EQ(std::memcmp(&draws[0].colour, &colour, sizeof colour), 0);
}

RELEASE_TEST(HostAccessors, FieldsSitAtTheirOffsets, sim::LoadedRelease().game != sim::Game::None) {
    struct Offsets { uint32_t state, station, radioType, vehicleClass, pending, deadline; int32_t driving; };
    const Offsets perGame[] = {{0x224, 0x229, 0, 0, 0, 0, 44}, {0x244, 0x23C, 0, 0, 0, 0, 50},
                               {0x530, 0, 0x1D3, 0x594, 0x01, 0x54, 50}};
    const Offsets& o = perGame[static_cast<int>(sim::LoadedRelease().game) - 1];
    uint8_t object[0x600] = {};
    object[o.state] = 0x32;
    EXPECT_EQ(HostCharacterState(object), 0x32);
    EXPECT_EQ(HostDrivingState(), o.driving);
    if (o.station) {
        HostVehicleRadioStation(object) = 7;
        EXPECT_EQ(object[o.station], 7);
    } else {  // San Andreas
        object[o.radioType] = 3;
        object[o.vehicleClass] = 10;
        EXPECT_EQ(HostVehicleRadioType(object), 3);
        EXPECT_EQ(HostVehicleClass(object), 10);
        HostRadioManagerPending(object) = 9;
        SetHostRadioManagerDeadline(object, 0x01020304);
        EXPECT_EQ(object[o.pending], 9);
        EXPECT_EQ(std::memcmp(object + o.deadline, "\x04\x03\x02\x01", 4), 0);
    }
}

}  // namespace
