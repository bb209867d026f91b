// Failure injection and call counts of the substitute itself.
#include "platform/posix/substitute.h"

#include <gtest/gtest.h>

namespace {

using substitute::Call;
using substitute::CallCount;
using substitute::ShouldFail;

TEST(Substitute, FailCallFailsOnceAfterTheSuccessesAsked) {
    substitute::ResetSubstitute();
    substitute::FailCall(Call::ReadFile, 2);
    EXPECT_FALSE(ShouldFail(Call::ReadFile));
    EXPECT_FALSE(ShouldFail(Call::ReadFile));
    EXPECT_TRUE(ShouldFail(Call::ReadFile));
    EXPECT_FALSE(ShouldFail(Call::ReadFile));
    EXPECT_FALSE(ShouldFail(Call::WriteFile)) << "other calls are not affected";
    EXPECT_EQ(CallCount(Call::ReadFile), 4);
    EXPECT_EQ(CallCount(Call::WriteFile), 1);
}

TEST(Substitute, FailCallAlwaysLastsUntilReset) {
    substitute::ResetSubstitute();
    substitute::FailCallAlways(Call::CopyPixels);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(ShouldFail(Call::CopyPixels));
    substitute::ResetSubstitute();
    EXPECT_EQ(CallCount(Call::CopyPixels), 0);
    EXPECT_FALSE(ShouldFail(Call::CopyPixels));
}

TEST(Substitute, ResetDisarmsAPendingFailure) {
    substitute::ResetSubstitute();
    substitute::FailCall(Call::GetFrame, 1);
    substitute::ResetSubstitute();
    EXPECT_FALSE(ShouldFail(Call::GetFrame));
    EXPECT_FALSE(ShouldFail(Call::GetFrame));
    substitute::ResetSubstitute();
}

}  // namespace
