// Profile files through the substitute: the cases Wine settled (profile_cases.h, also run
// under Wine by tests/windows/profile_probe.cpp), then what only the substitute needs: the
// call counts the plug-in's tests read, a size bound, and arbitrary bytes.
#include <gtest/gtest.h>
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

    std::string dir_;
};

TEST_F(ProfileStrings, CasesAnswerAsWineDoesAndEveryCallIsCounted) {
    int reads = 0, cases = 0, writes = 0;
    for (const profile_cases::ReadCase& c : profile_cases::kReadCases)
        EXPECT_EQ(profile_cases::RunReadCase(c, reads++, dir_), "") << c.group << "/" << c.name;
    for (const profile_cases::WriteCase& c : profile_cases::kWriteCases) {
        EXPECT_EQ(profile_cases::RunWriteCase(c, cases++, dir_), "") << c.group << "/" << c.name;
        for (const profile_cases::WriteCall& call : c.calls) writes += call.section != nullptr;
    }
    EXPECT_EQ(substitute::CallCount(Call::GetPrivateProfileIntA), reads);
    EXPECT_EQ(substitute::CallCount(Call::WritePrivateProfileStringA), writes) << "failed ones too";
}

TEST_F(ProfileStrings, FilesAbove16MiBAreNeitherReadNorWritten) {
    const std::string path = Win("big.ini"), posix = dir_ + "/big.ini";
    ASSERT_TRUE(profile_cases::WriteBytes(path, "[Settings]\r\nIconGap=5\r\n"));
    ASSERT_EQ(truncate(posix.c_str(), (off_t{16} << 20) + 1), 0);  // sparse: NULs after the key
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 7u);
    EXPECT_FALSE(WritePrivateProfileStringA("Settings", "IconGap", "6", path.c_str()));
    EXPECT_EQ(std::filesystem::file_size(posix), (uintmax_t{16} << 20) + 1);
    ASSERT_EQ(truncate(posix.c_str(), off_t{16} << 20), 0);
    EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), 5u) << "16 MiB is read";
}

// Whatever a file holds of the bytes that matter to the parser, reading leaves it as it is and
// writing leaves a file that reads back the value written.
TEST_F(ProfileStrings, ArbitraryBytesAreReadAndRewrittenSafely) {
    const char alphabet[] = {'[', ']', '=', '\r', '\n', '\0', ' ', '\t', ';', '"', '\'', '-', '+', 'x',
                             '0', '5', '\x1a', '\x80', '\xff', '\xef', '\xbb', '\xbf', 'I', 'S'};
    const char* sections[] = {"S", "[S", "", " S ", "S]"};
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u, state >> 8; };
    for (int round = 0; round < 300; ++round) {
        std::string bytes, after;
        const size_t length = next() % (round % 50 == 0 ? 20000 : 300);
        for (size_t i = 0; i < length; ++i) bytes += alphabet[next() % sizeof alphabet];
        const std::string path = Win("fuzz" + std::to_string(round) + ".ini");
        ASSERT_TRUE(profile_cases::WriteBytes(path, bytes));
        GetPrivateProfileIntA(sections[round % 5], "I", 7, path.c_str());
        ASSERT_TRUE(profile_cases::ReadBytes(path, after) && after == bytes) << "round " << round;
        ASSERT_TRUE(WritePrivateProfileStringA("Settings", "IconGap", "-42", path.c_str()));
        EXPECT_EQ(GetPrivateProfileIntA("Settings", "IconGap", 7, path.c_str()), static_cast<UINT>(-42))
            << "round " << round << ": " << profile_cases::Shown(bytes);
    }
}

}  // namespace
