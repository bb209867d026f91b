// ExitProcess must end the process with its code even when a handler returns, and must not
// lose buffered output: the plug-in ends the game this way and its last words go to a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/platform.h"

namespace {

TEST(ExitProcessTest, RunsTheHandlerFlushesAndEndsWithTheCode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The same name in the death test's child, which runs this test again from its start.
    const std::string path = testing::TempDir() + "ombrix-exit-flush-" + std::to_string(getuid());
    std::remove(path.c_str());
    EXPECT_EXIT(
        {
            substitute::SetExitProcessHandler([](UINT code) { std::fprintf(stderr, "handler %u\n", code); });
            FILE* out = std::fopen(path.c_str(), "w");
            std::setvbuf(out, nullptr, _IOFBF, 4096);
            std::fputs("written before the end", out);
            ExitProcess(3);
        },
        testing::ExitedWithCode(3), "handler 3\nExitProcess\\(3\\)");
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    EXPECT_EQ(text.str(), "written before the end");
    std::remove(path.c_str());
}

}  // namespace
