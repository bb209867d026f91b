// The imaging factory is made once per process; a failed creation is retried, never cached.
#include <gtest/gtest.h>

#include "image/exports.h"
#include "platform/posix/substitute.h"
#include "raster/raster_decoder.h"
#include "tests/support/image_fixture.h"

namespace {

using substitute::Call;

class SharedFactory : public ImageFixture {};

TEST_F(SharedFactory, FailedCreationIsRetriedAndSuccessKept) {
    std::string path = Scratch("icon.png");
    WritePng(path, 4, 4, [](uint32_t, uint32_t) { return Bgra{1, 1, 1, 255}; });
    long before = substitute::LiveComObjects();

    substitute::FailCall(Call::CoCreateInstance);
    LoadOutcome outcome;
    EXPECT_EQ(LoadPngTexture(MakeLoadRequest(path.c_str(), 0, 0, 0, 0), outcome), nullptr);
    EXPECT_EQ(outcome.status, LoadStatus::FactoryUnavailable);
    EXPECT_EQ(substitute::CallCount(Call::CoCreateInstance), 1);
    EXPECT_EQ(substitute::LiveComObjects(), before);

    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 0, 0, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CoCreateInstance), 2);
    EXPECT_EQ(substitute::LiveComObjects(), before + 1) << "only the factory stays alive";

    ASSERT_NE(LoadPNGToRwTexture(path.c_str(), 2, 0, 0, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::CoCreateInstance), 2);
    EXPECT_EQ(substitute::LiveComObjects(), before + 1);
}

}  // namespace
