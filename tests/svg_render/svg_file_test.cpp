// SVG files are read as raw bytes through the platform's file calls, whose failures give
// no text at all rather than a document cut short.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/substitute.h"
#include "svg/svg_file.h"
#include "tests/support/image_fixture.h"

namespace {

using substitute::Call;

class SvgFile : public ImageFixture {};

TEST_F(SvgFile, BytesAsStoredThroughWindowsPaths) {
    std::filesystem::create_directories(Scratch("sub"));
    const std::string bytes("\xEF\xBB\xBF<svg>\r\n\0<path/>\r\n", 20);
    WriteBytes(Scratch("sub/icon.svg"), {bytes.begin(), bytes.end()});
    WriteBytes(Scratch("empty.svg"), {});

    EXPECT_EQ(ReadSvgText(Scratch("sub/icon.svg").c_str()), bytes);
    EXPECT_EQ(ReadSvgText((dir_ + "\\sub\\icon.svg").c_str()), bytes);
    EXPECT_EQ(ReadSvgText(Scratch("empty.svg").c_str()), "");
    EXPECT_EQ(ReadSvgText(Scratch("absent.svg").c_str()), "");
    EXPECT_EQ(ReadSvgText(nullptr), "");
    EXPECT_EQ(substitute::OpenFileHandles(), 0);
}

TEST_F(SvgFile, FailedOpenOrReadGivesNoText) {
    WriteBytes(Scratch("icon.svg"), {'<', 's', 'v', 'g', '/', '>'});
    for (Call call : {Call::CreateFileA, Call::ReadFile}) {
        substitute::FailCall(call);
        EXPECT_EQ(ReadSvgText(Scratch("icon.svg").c_str()), "") << int(call);
        EXPECT_EQ(substitute::OpenFileHandles(), 0);
        substitute::ResetSubstitute();
    }
}

}  // namespace
