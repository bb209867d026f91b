// The settings file: created once with every default and its comment, read at start-up and on
// the reload key, never rewritten.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

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

void StartPlugin() {
    PrepareSettingsFile();
    ReadSettings();
}

int ProfileWrites() { return substitute::CallCount(substitute::Call::WritePrivateProfileStringA); }

using SettingsFile = GameFolderTest;

TEST_F(SettingsFile, MissingFileIsCreatedAsTheDefaultFileAndTheRecordKeepsItsDefaults) {
    StartPlugin();
    EXPECT_EQ(ReadFile(GamePath(kSettingsFile)), ReadFile(DEFAULT_SETTINGS_FILE));
    EXPECT_TRUE(IsDefault(radioStripSettings));
}

TEST_F(SettingsFile, ExistingFileIsReadAndNeverWritten) {
    // What IconGap and ReloadKey hold afterwards.
    const struct { const char* what; std::string bytes; int32_t iconGap, reloadKey; } cases[] = {
        {"section and IconGap alone", "[Settings]\r\nIconGap=5\r\n", 5, 162},
        {"reload key disabled", "[Settings]\r\nReloadKey=-1\r\n", 3, -1},
        {"other letter case and blanks", "[ settings ]\r\n iconGAP = 7\r\n", 7, 162},
        {"empty values", "[Settings]\r\nIconGap=\r\nReloadKey=\r\n", 3, 162},
        {"no section", "IconGap=5\r\n", 3, 162},
        {"huge, negative and text", "[Settings]\r\nIconGap=99999999999\r\nReloadKey=-7x\r\n", 1215752191, -7},
        {"very long line", "[Settings]\r\nIconGap=" + std::string(70000, '9') + "\r\n", -1610612737, 162},
        {"binary bytes", std::string("[Settings]\r\nIconGap=\x01\xff\x00\x7f\r\n\x00\x00=\r\n", 24), 0, 162},
    };
    const std::string path = GamePath(kSettingsFile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        radioStripSettings = RadioStripSettings{};
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
    EXPECT_EQ(ProfileWrites(), 13);
    StartPlugin();
    EXPECT_EQ(ProfileWrites(), 26);
    EXPECT_FALSE(ReadSettings());
    EXPECT_FALSE(Exists(GamePath("halvenmoor_mods\\Tessivo")));
    EXPECT_TRUE(IsDefault(radioStripSettings));
}

// Without the fixture: the game directory must not be known before the child names its own.
TEST(SettingsPath, PathThatDoesNotFitIsAFailureNotACutPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
            substitute::SetMainModule(reinterpret_cast<HMODULE>(uintptr_t{0x400000}),
                                      (folder + "game.exe").c_str());
            radioStripSettings.IconGap = 9;
            StartPlugin();
            const bool untouched = !ReadSettings() && radioStripSettings.IconGap == 9 && ProfileWrites() == 0 &&
                                   substitute::CallCount(substitute::Call::CreateFileA) == 0;
            std::exit(untouched ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

std::string Crlf(std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, 1, '\r');
    return text;
}

TEST_F(SettingsFile, CommentPassLaysTheFileOut) {
    const std::string longKey(511, 'a');  // a line longer than the pass's buffer comes in pieces
    const struct { const char* what; std::string before, after; } cases[] = {  // after: below the header
        {"two sections", "[Other]\nk=1\n[Settings]\nIconGap=3\n",
         "[Other]\nk=1\n\n[Settings]\n; gap\nIconGap=3\n"},
        {"section without ]", "[Settings]\nIconGap=1\n[Oth\nIconGap=2\n",
         "[Settings]\n; gap\nIconGap=1\n\n[Oth\n; gap\nIconGap=2\n"},
        {"blanks before =", "[Settings]\nIconGap \t=3\n", "[Settings]\n; gap\nIconGap \t=3\n"},
        {"blanks before the key", "[Settings]\n  IconGap=3\n", "[Settings]\n  IconGap=3\n"},
        {"old comments dropped", "; old\n[Settings]\n# old\nIconGap=3\n", "[Settings]\n; gap\nIconGap=3\n"},
        {"key before any section", "IconGap=3\n\n[Settings]\n", "IconGap=3\n\n[Settings]\n"},
        {"no line feed at the end", "[Settings]\nIconGap=3", "[Settings]\n; gap\nIconGap=3"},
        {"a long line", "[Settings]\n" + longKey + "x IconGap=1\n",
         "[Settings]\n" + longKey + "; piece\nx IconGap=1\n"},
    };
    const std::string path = GamePath(kSettingsFile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(path, Crlf(c.before));
        IniFile file(path.c_str());
        file.NoteComment("Settings", "IconGap", "gap");
        file.NoteComment("Settings", "x IconGap", "piece");
        file.NoteComment("Settings", longKey.c_str(), "never");
        file.NoteComment("Other", "k", "");
        file.ApplyComments("; head");
        EXPECT_EQ(ReadFile(path), Crlf("; head\n" + c.after));
    }
}

}  // namespace
