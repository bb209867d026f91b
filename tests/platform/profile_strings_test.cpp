// Profile files through the substitute: the cases Wine settled (profile_cases.h, also run
// under Wine by tests/windows/profile_probe.cpp), then what only the substitute needs: injected
// failures, refused arguments, bounds, and arbitrary bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/posix/substitute.h"
#include "tests/platform/profile_cases.h"

namespace {

using substitute::Call;

class ProfileStrings : public ::testing::Test {
protected:
    void SetUp() override {
        substitute::ResetSubstitute();
        char pattern[] = "/tmp/ombrix-profile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        substitute::ResetSubstitute();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string Win(const std::string& name) const { return dir_ + "\\" + name; }
    std::string Bytes(const std::string& name) const {
        std::string bytes;
        profile_cases::ReadBytes(Win(name), bytes);
        return bytes;
    }

    std::string dir_;
};

TEST_F(ProfileStrings, ReadCasesAnswerAsWineDoes) {
    size_t index = 0;
    for (const profile_cases::ReadCase& c : profile_cases::kReadCases)
        EXPECT_EQ(profile_cases::RunReadCase(c, index++, dir_), "") << c.group << "/" << c.name;
}

TEST_F(ProfileStrings, WriteCasesLeaveTheFileAsWineDoes) {
    size_t index = 0;
    for (const profile_cases::WriteCase& c : profile_cases::kWriteCases)
        EXPECT_EQ(profile_cases::RunWriteCase(c, index++, dir_), "") << c.group << "/" << c.name;
}

TEST_F(ProfileStrings, InjectedFailuresAreCountedAndChangeNothing) {
    const std::string path = Win("s.ini");
    ASSERT_TRUE(profile_cases::WriteBytes(path, "[Settings]\nIconGap=5\n"));

    substitute::FailCall(Call::GetPrivateProfileIntA, 1);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 5u);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 7u) << "fails as the default";
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 5u);
    EXPECT_EQ(substitute::CallCount(Call::GetPrivateProfileIntA), 3);

    substitute::FailCall(Call::WritePrivateProfileStringA);
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA("Settings", "IconGap", "6", path.c_str()));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(Bytes("s.ini"), "[Settings]\nIconGap=5\n");
    EXPECT_TRUE(WritePrivateProfileStringA("Settings", "IconGap", "6", path.c_str()));
    EXPECT_EQ(substitute::CallCount(Call::WritePrivateProfileStringA), 2);
    EXPECT_EQ(Bytes("s.ini"), "[Settings]\r\nIconGap=6\r\n");
}

TEST_F(ProfileStrings, RefusedArgumentsAndPaths) {
    const std::string path = Win("s.ini");
    ASSERT_TRUE(profile_cases::WriteBytes(path, "[Settings]\r\nIconGap=5\r\n"));
    struct Refused {
        const char *section, *key, *value, *path;
    };
    const std::string folderPath = dir_;
    const Refused writes[] = {
        {nullptr, "IconGap", "1", path.c_str()},   // Windows: not substituted
        {"Settings", nullptr, "1", path.c_str()},  // Windows: deletes the section
        {"Settings", "IconGap", nullptr, path.c_str()},  // Windows: deletes the key
        {"Settings", "IconGap", "1", nullptr},     // Windows: win.ini
        {"Settings", "IconGap", "1", folderPath.c_str()},  // a folder, not a file
    };
    for (const Refused& w : writes) {
        EXPECT_FALSE(WritePrivateProfileStringA(w.section, w.key, w.value, w.path));
        EXPECT_NE(GetLastError(), 0u);
    }
    EXPECT_EQ(Bytes("s.ini"), "[Settings]\r\nIconGap=5\r\n");
    EXPECT_EQ(GetPrivateProfileIntA(nullptr, "IconGap", 7, path.c_str()), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", nullptr, 7, path.c_str()), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, nullptr), 7u);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, folderPath.c_str()), 7u);
}

TEST_F(ProfileStrings, FilesAbove16MiBAreNeitherReadNorWritten) {
    const std::string path = Win("big.ini");
    ASSERT_TRUE(profile_cases::WriteBytes(path, "[Settings]\r\nIconGap=5\r\n"));
    const std::string posix = dir_ + "/big.ini";
    ASSERT_EQ(truncate(posix.c_str(), (off_t{16} << 20) + 1), 0);  // sparse: NULs after the key
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 7u);
    EXPECT_FALSE(WritePrivateProfileStringA("Settings", "IconGap", "6", path.c_str()));
    EXPECT_EQ(std::filesystem::file_size(posix), (uintmax_t{16} << 20) + 1);
    ASSERT_EQ(truncate(posix.c_str(), off_t{16} << 20), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 5u) << "16 MiB is read";
}

// Files of random lines built from the bytes that matter to the parser: whatever they hold,
// reading answers without touching the file, and writing leaves a file that reads back the
// value written.
TEST_F(ProfileStrings, ArbitraryBytesAreReadAndRewrittenSafely) {
    const char alphabet[] = {'[', ']', '=', '\r', '\n', '\0', ' ', '\t', ';', '"', '\'', '-', '+', 'x', '0',
                             '5', '\x1a', '\x80', '\xff', '\xef', '\xbb', '\xbf', 'I', 'S'};
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u, state >> 8; };
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const size_t length = next() % (round % 50 == 0 ? 20000 : 300);
        for (size_t i = 0; i < length; ++i) bytes += alphabet[next() % sizeof alphabet];
        const std::string path = Win("fuzz" + std::to_string(round) + ".ini");
        ASSERT_TRUE(profile_cases::WriteBytes(path, bytes));
        const char* sections[] = {"S", "[S", "", " S ", "S]"};
        const char* section = sections[round % 5];
        GetPrivateProfileIntA(section, "I", 7, path.c_str());
        ASSERT_EQ(Bytes("fuzz" + std::to_string(round) + ".ini"), bytes) << "round " << round;
        ASSERT_TRUE(WritePrivateProfileStringA("Settings", "IconGap", "-42", path.c_str()));
        EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), static_cast<UINT>(-42))
            << "round " << round << ": " << profile_cases::Shown(bytes);
    }
}

}  // namespace
