// Each game's build reaches the engine at that game's addresses.
#include <gtest/gtest.h>

#include "games/selected_game.h"
#include "image/exports.h"
#include "sim/game_image.h"
#include "sim/rw_engine.h"
#include "tests/support/image_fixture.h"

namespace {

class GameBuild : public ImageFixture {};

TEST_F(GameBuild, LoadRunsThroughThisGamesEngineTable) {
    // Only this game's five entry points lead anywhere; a wrong table would run zeroed memory.
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
