// The settings file: created once with every default and its comment, read at start-up and on
// the reload key, never rewritten.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game_folder.h"
#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "radio/ini_file.h"
#include "radio/radio_strip_settings.h"
#include "radio/settings_file.h"

namespace {

const std::string kSettingsFile = "halvenmoor_mods\\Tessivo\\tessivo.ini";

bool IsDefault(const RadioStripSettings& settings) {
    const RadioStripSettings defaults;
    return std::memcmp(&settings, &defaults, sizeof settings) == 0;
}

std::string Crlf(const std::string& lines) {
    std::string out;
    for (char c : lines) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

void StartPlugin() {
    PrepareSettingsFile();
    ReadSettings();
}

using SettingsFile = GameFolderTest;

TEST_F(SettingsFile, MissingFileIsCreatedAsTheDefaultFileAndTheRecordKeepsItsDefaults) {
    StartPlugin();
    EXPECT_EQ(ReadFile(GamePath(kSettingsFile)), ReadFile(DEFAULT_SETTINGS_FILE));
    EXPECT_TRUE(IsDefault(radioStripSettings));
}

TEST_F(SettingsFile, ExistingFileIsReadAndNeverWritten) {
    struct Case {
        const char* what;
        std::string bytes;
        int32_t iconGap;    // what IconGap holds afterwards
        int32_t reloadKey;  // and ReloadKey
    };
    const std::string binary("[Settings]\r\nIconGap=\x01\xff\x00\x7f\r\n\x00\x00=\r\n", 24);
    const Case cases[] = {
        {"section and IconGap alone", "[Settings]\r\nIconGap=5\r\n", 5, 162},
        {"reload key disabled", "[Settings]\r\nReloadKey=-1\r\n", 3, -1},
        {"other letter case and blanks", "[ settings ]\r\n iconGAP = 7\r\n", 7, 162},
        {"empty values", "[Settings]\r\nIconGap=\r\nReloadKey=\r\n", 3, 162},
        {"no section", "IconGap=5\r\n", 3, 162},
        {"huge, negative and text", "[Settings]\r\nIconGap=99999999999\r\nReloadKey=-7x\r\n",
         1215752191, -7},
        {"very long line", "[Settings]\r\nIconGap=" + std::string(70000, '9') + "\r\n",
         -1610612737, 162},
        {"binary bytes", binary, 0, 162},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings = RadioStripSettings{};
        const std::string path = GamePath(kSettingsFile);
        WriteFile(path, c.bytes);
        const long long written = ModifiedNanoseconds(path);
        StartPlugin();
        EXPECT_EQ(ReadFile(path), c.bytes);
        EXPECT_EQ(ModifiedNanoseconds(path), written);
        EXPECT_EQ(radioStripSettings.IconGap, c.iconGap);
        EXPECT_EQ(radioStripSettings.ReloadKey, c.reloadKey);
        EXPECT_EQ(radioStripSettings.ColorType, 2);
    }
}

TEST_F(SettingsFile, ReloadKeepsTheCurrentValueOfAKeyRemovedMeanwhile) {
    WriteFile(GamePath(kSettingsFile), "[Settings]\r\nIconGap=7\r\nColorType=1\r\n");
    StartPlugin();
    WriteFile(GamePath(kSettingsFile), "[Settings]\r\nColorType=3\r\n");
    EXPECT_TRUE(ReadSettings());
    EXPECT_EQ(radioStripSettings.IconGap, 7);
    EXPECT_EQ(radioStripSettings.ColorType, 3);
}

TEST_F(SettingsFile, MissingFolderIsNeverCreatedAndEveryStartTriesAgain) {
    std::filesystem::remove_all(GamePath("halvenmoor_mods\\Tessivo"));
    StartPlugin();
    const int firstAttempts = substitute::CallCount(substitute::Call::WritePrivateProfileStringA);
    StartPlugin();
    EXPECT_FALSE(ReadSettings());
    EXPECT_FALSE(Exists(GamePath("halvenmoor_mods\\Tessivo")));
    EXPECT_TRUE(IsDefault(radioStripSettings));
    EXPECT_EQ(firstAttempts, 13);
    EXPECT_EQ(substitute::CallCount(substitute::Call::WritePrivateProfileStringA), 26);
}

[[noreturn]] void StartInAGameFolderTooDeep() {
    const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
    substitute::SetMainModule(reinterpret_cast<HMODULE>(uintptr_t{0x400000}),
                              (folder + "game.exe").c_str());
    radioStripSettings.IconGap = 9;
    StartPlugin();
    const bool untouched =
        !ReadSettings() && radioStripSettings.IconGap == 9 &&
        substitute::CallCount(substitute::Call::WritePrivateProfileStringA) == 0 &&
        substitute::CallCount(substitute::Call::CreateFileA) == 0;
    std::exit(untouched ? 0 : 1);
}

// Without the fixture: the game directory must not be known before the child names its own.
TEST(SettingsPath, PathThatDoesNotFitIsAFailureNotACutPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(StartInAGameFolderTooDeep(), testing::ExitedWithCode(0), "");
}

TEST_F(SettingsFile, CommentPassLaysTheFileOut) {
    struct Case {
        const char* what;
        const char* before;
        const char* after;  // below the header
    };
    const Case cases[] = {
        {"two sections", "[Other]\nk=1\n[Settings]\nIconGap=3\n",
         "[Other]\nk=1\n\n[Settings]\n; gap\nIconGap=3\n"},
        {"section without ]", "[Settings]\nIconGap=1\n[Oth\nIconGap=2\n",
         "[Settings]\n; gap\nIconGap=1\n\n[Oth\n; gap\nIconGap=2\n"},
        {"empty file", "", ""},
        {"blanks before =", "[Settings]\nIconGap \t=3\n", "[Settings]\n; gap\nIconGap \t=3\n"},
        {"blanks before the key", "[Settings]\n  IconGap=3\n", "[Settings]\n  IconGap=3\n"},
        {"old comments dropped", "; old\n[Settings]\n# old\nIconGap=3\n",
         "[Settings]\n; gap\nIconGap=3\n"},
        {"key before any section", "IconGap=3\n\n[Settings]\n", "IconGap=3\n\n[Settings]\n"},
        {"no line feed at the end", "[Settings]\nIconGap=3", "[Settings]\n; gap\nIconGap=3"},
    };
    const std::string path = GamePath(kSettingsFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(path, Crlf(c.before));
        IniFile file(path.c_str());
        file.NoteComment("Settings", "IconGap", "gap");
        file.NoteComment("Other", "k", "");
        file.ApplyComments("; head");
        EXPECT_EQ(ReadFile(path), Crlf(std::string("; head\n") + c.after));
    }
}

TEST_F(SettingsFile, CommentPassCutsLongLinesAsItsLineBufferDoes) {
    const std::string path = GamePath(kSettingsFile);
    const std::string tail = "x IconGap=1";  // the second piece looks like a key line
    WriteFile(path, Crlf("[Settings]\n" + std::string(511, 'a') + tail + "\n"));
    IniFile file(path.c_str());
    file.NoteComment("Settings", std::string(511, 'a').c_str(), "never");
    file.NoteComment("Settings", "x IconGap", "piece");
    file.ApplyComments("; head\n");
    EXPECT_EQ(ReadFile(path),
              Crlf("; head\n[Settings]\n" + std::string(511, 'a') + "; piece\n" + tail + "\n"));
}

}  // namespace
