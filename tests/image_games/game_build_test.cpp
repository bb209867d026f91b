// Each game's build reaches the engine at that game's addresses.
#include <gtest/gtest.h>

#include <cstring>

#include "games/selected_game.h"
#include "image/exports.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

// The five entry points as each game's executable has them, written out apart from the
// builds' tables: the fixture installs the engine wherever a table points, so a load alone
// would pass with a wrong address too.
struct GameEntryPoints {
    const char* game;
    games::HostRwFunctions rw;
};
constexpr GameEntryPoints kEntryPoints[] = {
    {"III", {0x5AD930, 0x5AD780, 0x5AD9D0, 0x5AD6F0, 0x5A72D0}},
    {"VC", {0x655490, 0x6552E0, 0x655530, 0x655250, 0x64DE60}},
    {"SA", {0x7FB230, 0x7FB020, 0x7FB2D0, 0x7FAEC0, 0x7F37C0}},
};

class GameBuild : public ImageFixture {};

TEST_F(GameBuild, LoadRunsThroughThisGamesEngineTable) {
    const GameEntryPoints* expected = nullptr;
    for (const GameEntryPoints& entry : kEntryPoints)
        if (std::strcmp(entry.game, TEST_GAME) == 0) expected = &entry;
    ASSERT_NE(expected, nullptr) << TEST_GAME;
    const games::HostRwFunctions& table = selected_game::kRwFunctions;
    EXPECT_EQ(table.rasterCreate, expected->rw.rasterCreate);
    EXPECT_EQ(table.rasterDestroy, expected->rw.rasterDestroy);
    EXPECT_EQ(table.rasterLock, expected->rw.rasterLock);
    EXPECT_EQ(table.rasterUnlock, expected->rw.rasterUnlock);
    EXPECT_EQ(table.textureCreate, expected->rw.textureCreate);

    std::string path = Scratch("icon.png");
    WritePng(path, 32, 16, [](uint32_t x, uint32_t y) { return Bgra{uint8_t(x), uint8_t(y), 0, 255}; });
    RwTexture* texture = LoadPNGToRwTexture(path.c_str(), 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 1);
    EXPECT_EQ(sim::CountRwCalls(sim::RwOp::TextureCreate), 1);
    EXPECT_EQ(LevelPixels(texture, 0)[4 * 5], 5);
}

}  // namespace
