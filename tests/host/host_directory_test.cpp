// The game directory and the paths joined under it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/host_directory.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"

namespace {

constexpr const char* kDefaultDirectory = "C:\\Games\\VC\\";  // the stand-in's game.exe

// The directory is computed once per process: scenarios with another executable name run
// in a fresh process of this program, which reports through its exit code.
[[noreturn]] void ExitReporting(bool ok, const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(ok ? 0 : 1);
}

[[noreturn]] void DirectoryOf(const char* executable, const char* expected) {
    substitute::SetMainModule(reinterpret_cast<HMODULE>(uintptr_t{sim::GameImageBase()}), executable);
    const std::string directory = HostDirectory();
    ExitReporting(directory == expected, "directory \"" + directory + "\"");
}

class GameDirectory : public testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(GameDirectory, IsTheExecutablesFolderWithItsBackslash) {
    EXPECT_STREQ(HostDirectory(), kDefaultDirectory);
    EXPECT_TRUE(substitute::MessageBoxes().empty());
}

TEST_F(GameDirectory, InADriveRootIsTheRootWithItsBackslash) {
    EXPECT_EXIT(DirectoryOf("D:\\game.exe", "D:\\"), testing::ExitedWithCode(0), "");
}

TEST_F(GameDirectory, SlashAfterTheLastBackslashIsWhereItIsCut) {
    EXPECT_EXIT(DirectoryOf("C:\\Games/VC/game.exe", "C:\\Games/VC/"), testing::ExitedWithCode(0), "");
}

TEST_F(GameDirectory, BackslashAfterTheLastSlashIsWhereItIsCut) {
    EXPECT_EXIT(DirectoryOf("C:/Games/VC\\game.exe", "C:/Games/VC\\"), testing::ExitedWithCode(0), "");
}

TEST_F(GameDirectory, NameWithoutSeparatorStaysWhole) {
    EXPECT_EXIT(DirectoryOf("game.exe", "game.exe"), testing::ExitedWithCode(0), "");
}

[[noreturn]] void DirectoryWithoutModuleHandle() {
    HWND owner = reinterpret_cast<HWND>(uintptr_t{0x5150});
    substitute::SetActiveWindow(owner);
    substitute::FailCall(substitute::Call::GetModuleHandleA);
    const std::string directory = HostDirectory();
    const auto& boxes = substitute::MessageBoxes();
    const bool oneBox = boxes.size() == 1;
    const bool ok = oneBox && boxes[0].owner == owner && boxes[0].caption == "plugin-sdk" &&
                    boxes[0].text == "FILESYSTEM\nFailed to retrieve game dir path" &&
                    boxes[0].type == MB_ICONERROR && directory == kDefaultDirectory;
    ExitReporting(ok, "boxes " + std::to_string(boxes.size()) + ", directory \"" + directory + "\"");
}

TEST_F(GameDirectory, MissingModuleHandleShowsTheErrorBoxAndGoesOn) {
    EXPECT_EXIT(DirectoryWithoutModuleHandle(), testing::ExitedWithCode(0), "");
}

TEST(HostFilePathTest, JoinsTheRelativePathToTheDirectory) {
    EXPECT_STREQ(HostFilePath("halvenmoor_mods\\Tessivo\\tessivo.ini"),
                 "C:\\Games\\VC\\halvenmoor_mods\\Tessivo\\tessivo.ini");
}

TEST(HostFilePathTest, EveryJoinOverwritesTheSameBuffer) {
    const char* first = HostFilePath("a.ini");
    const char* second = HostFilePath("icons\\b.png");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second, "C:\\Games\\VC\\icons\\b.png");
}

TEST(HostFilePathTest, JoinOfExactly260CharactersFits) {
    const std::string relative(260 - std::strlen(kDefaultDirectory), 'x');
    const std::string joined = HostFilePath(relative.c_str());
    EXPECT_EQ(joined.size(), 260u);
    EXPECT_EQ(joined, kDefaultDirectory + relative);
}

TEST(HostFilePathTest, OverLongJoinIsRefusedWithAnEmptyPath) {
    const std::string relative(261 - std::strlen(kDefaultDirectory), 'x');
    EXPECT_STREQ(HostFilePath(relative.c_str()), "");
    EXPECT_STREQ(HostFilePath(std::string(5000, 'y').c_str()), "");
}

TEST(HostFilePathTest, DirectoryIsUnchangedByJoins) {
    HostFilePath("something.ini");
    EXPECT_STREQ(HostDirectory(), kDefaultDirectory);
}

}  // namespace
