// ExitProcess ends the process with the code, observably: by a handler a test installs, or
// with a line on stderr and the exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/platform.h"

namespace {

class ExitProcessTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
    void TearDown() override { substitute::SetExitProcessHandler(nullptr); }
};

struct Exited {
    UINT code;
};

TEST_F(ExitProcessTest, EndsTheProcessWithTheCode) {
    EXPECT_EXIT(ExitProcess(1), testing::ExitedWithCode(1), "ExitProcess\\(1\\)");
    EXPECT_EXIT(ExitProcess(0), testing::ExitedWithCode(0), "ExitProcess\\(0\\)");
}

TEST_F(ExitProcessTest, FlushesBufferedOutputFirst) {
    // The same name in the death test's child, which runs this test again from its start.
    const std::string path = testing::TempDir() + "ombrix-exit-flush-" + std::to_string(getuid());
    std::remove(path.c_str());
    EXPECT_EXIT(
        {
            FILE* out = std::fopen(path.c_str(), "w");
            std::setvbuf(out, nullptr, _IOFBF, 4096);
            std::fputs("written before the end", out);
            ExitProcess(3);
        },
        testing::ExitedWithCode(3), "");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "written before the end");
    std::remove(path.c_str());
}

TEST_F(ExitProcessTest, AHandlerSeesTheCode) {
    substitute::SetExitProcessHandler([](UINT code) { throw Exited{code}; });
    try {
        ExitProcess(7);
    } catch (const Exited& exited) {
        EXPECT_EQ(exited.code, 7u);
    }
}

TEST_F(ExitProcessTest, AHandlerThatReturnsStillEndsTheProcess) {
    EXPECT_EXIT(
        {
            substitute::SetExitProcessHandler([](UINT) { std::fputs("handler ran\n", stderr); });
            ExitProcess(4);
        },
        testing::ExitedWithCode(4), "handler ran\nExitProcess\\(4\\)");
}

}  // namespace
