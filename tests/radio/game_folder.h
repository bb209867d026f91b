// A game folder of its own for every test. The stand-in names the game executable with a
// relative Windows path ("C:\Games\VC\game.exe"), so each test runs in a fresh current
// directory and the game's folder lies under it.
#pragma once

#include <gtest/gtest.h>

#include <string>

class GameFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // POSIX path of a file given relative to the game folder, "\\" separated as the game has it.
    static std::string GamePath(const std::string& relative);

    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);
    static bool Exists(const std::string& path);
    static long long ModifiedNanoseconds(const std::string& path);

private:
    std::string previousDirectory_;
    std::string scratch_;
};
