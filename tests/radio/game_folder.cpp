#include "game_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/host_directory.h"
#include "platform/platform.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/substitute.h"
#include "radio/radio_strip_settings.h"

void GameFolderTest::SetUp() {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previousDirectory_ = cwd;
    char pattern[] = "/tmp/radio-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    scratch_ = pattern;
    ASSERT_EQ(chdir(scratch_.c_str()), 0);
    std::filesystem::create_directories(GamePath("halvenmoor_mods\\Tessivo\\icons"));
    substitute::ResetSubstitute();
    substitute::ClearMessageBoxes();
    radioStripSettings = RadioStripSettings{};
}

void GameFolderTest::TearDown() {
    if (chdir(previousDirectory_.c_str()) != 0) ADD_FAILURE() << "cannot return to " << previousDirectory_;
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
}

std::string GameFolderTest::GamePath(const std::string& relative) {
    return substitute::PosixPath((std::string(HostDirectory()) + relative).c_str());
}

std::string GameFolderTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void GameFolderTest::WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool GameFolderTest::Exists(const std::string& path) { return std::filesystem::exists(path); }

long long GameFolderTest::ModifiedNanoseconds(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return -1;
    return info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
}
