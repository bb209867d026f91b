// Module loading in the substitute as the plug-in relies on it: where LoadLibraryA looks for
// the image library, what it refuses, exports by exact name, load counts, and the call logs
// the plug-in's tests read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using substitute::Export;
using Names = std::vector<std::string>;

HMODULE Handle(uintptr_t address) { return reinterpret_cast<HMODULE>(address); }

const HMODULE kScriptsVC = Handle(0x10000000), kScriptsSA = Handle(0x10100000);
const HMODULE kRootSA = Handle(0x11000000), kOther = Handle(0x12000000);

int FindPng() { return 1; }
int FindSvg() { return 2; }

class Modules : public ::testing::Test {
protected:
    void SetUp() override {
        savedMain_ = GetModuleHandleA(nullptr);
        if (savedMain_) GetModuleFileNameA(savedMain_, savedName_, sizeof savedName_);
        Reset();
    }
    void TearDown() override {
        substitute::ForgetModules();
        substitute::ClearModuleLogs();
        substitute::SetMainModule(savedMain_, savedName_);
    }
    // The game in C:\Games\VC with plug-in files beside it and in scripts, none loaded.
    static void Reset() {
        substitute::ForgetModules();
        substitute::ClearModuleLogs();
        ASSERT_TRUE(substitute::SetMainModule(Handle(0x400000), "C:\\Games\\VC\\gta-vc.exe"));
        ASSERT_TRUE(substitute::PlaceModuleFile("C:\\Games\\VC\\scripts\\Ombrix.VC.asi", kScriptsVC));
        ASSERT_TRUE(substitute::PlaceModuleFile("C:\\Games\\VC\\scripts\\Ombrix.SA.asi", kScriptsSA));
        ASSERT_TRUE(substitute::PlaceModuleFile("C:\\Games\\VC\\Other.dll", kOther));
        ASSERT_TRUE(substitute::PlaceModuleFile(
            "C:\\Games\\VC\\Ombrix.SA.asi", kRootSA,
            {Export("FindPNGinFolderPath", &FindPng), Export("FindSVGinFolderPath", &FindSvg)}));
    }

    HMODULE savedMain_ = nullptr;
    char savedName_[MAX_PATH + 1] = "";
};

TEST_F(Modules, LoadLibrarySearchesAndRefusesAsWindowsDoes) {
    const std::string tooLong = "scripts\\" + std::string(MAX_PATH, 'x') + ".asi";
    const struct {
        const char* loadedBefore;  // when not null
        const char* name;
        HMODULE expected;
        DWORD error;
    } cases[] = {
        {nullptr, "scripts\\Ombrix.VC.asi", kScriptsVC, 0},        // relative: from the game's folder
        {nullptr, "SCRIPTS/./ombrix.vc.ASI", kScriptsVC, 0},       // no case, "/" as "\", "." steps
        {nullptr, "Ombrix.SA.asi", kRootSA, 0},                    // bare: the game's folder
        {nullptr, "c:/games/vc/scripts/../Ombrix.SA.asi", kRootSA, 0},
        {nullptr, "Other", kOther, 0},                             // ".dll" added
        {nullptr, "Ombrix.VC.asi", nullptr, ERROR_MOD_NOT_FOUND},  // bare: not in scripts
        {"scripts\\Ombrix.SA.asi", "Ombrix.SA.asi", kScriptsSA, 0},  // loaded modules come first
        {"scripts\\Ombrix.SA.asi", "C:\\Games\\VC\\Ombrix.SA.asi", kRootSA, 0},  // a path: that file
        {nullptr, "", nullptr, ERROR_MOD_NOT_FOUND},
        {nullptr, nullptr, nullptr, ERROR_INVALID_PARAMETER},
        {nullptr, tooLong.c_str(), nullptr, ERROR_FILENAME_EXCED_RANGE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        Reset();
        Names logged;
        if (c.loadedBefore) {
            ASSERT_NE(LoadLibraryA(c.loadedBefore), nullptr);
            logged.push_back(c.loadedBefore);
        }
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(c.name), c.expected);
        EXPECT_EQ(GetLastError(), c.error);
        if (c.name) logged.push_back(std::string(c.name).substr(0, MAX_PATH));
        EXPECT_EQ(substitute::LoadLibraryCalls(), logged) << "every name, in call order";
    }
}

TEST_F(Modules, ExportsAnswerByExactNameWhileTheModuleIsLoaded) {
    EXPECT_EQ(GetModuleHandleA("Ombrix.SA.asi"), nullptr) << "placed, not loaded";
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    EXPECT_EQ(GetModuleHandleA("ombrix.sa.asi"), kRootSA);
    EXPECT_EQ(substitute::ModuleHandleQueries(), (Names{"Ombrix.SA.asi", "ombrix.sa.asi"}));
    const struct {
        HMODULE module;
        const char* name;
        FARPROC expected;
    } cases[] = {
        {kRootSA, "FindPNGinFolderPath", Export("", &FindPng).address},
        {kRootSA, "FindSVGinFolderPath", Export("", &FindSvg).address},
        {kRootSA, "findpnginfolderpath", nullptr},
        {kRootSA, "FindPNGinFolderPat", nullptr},
        {kRootSA, reinterpret_cast<LPCSTR>(uintptr_t{1}), nullptr},  // ordinals are not modelled
        {kScriptsVC, "FindPNGinFolderPath", nullptr},                 // placed, not loaded
        {nullptr, "FindPNGinFolderPath", nullptr},                    // the game exports nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(c.name) > 0xFFFF ? c.name : "(ordinal)");
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(c.module, c.name), c.expected);
        EXPECT_EQ(GetLastError(), c.expected ? 0u : DWORD{ERROR_PROC_NOT_FOUND});
    }
    // Each load needs its free; unloaded, the module answers nothing but its file stays.
    EXPECT_TRUE(FreeLibrary(kRootSA));
    EXPECT_NE(GetProcAddress(kRootSA, "FindPNGinFolderPath"), nullptr);
    EXPECT_TRUE(FreeLibrary(kRootSA));
    EXPECT_EQ(GetModuleHandleA("Ombrix.SA.asi"), nullptr);
    EXPECT_EQ(GetProcAddress(kRootSA, "FindPNGinFolderPath"), nullptr);
    EXPECT_FALSE(FreeLibrary(kRootSA));
    EXPECT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
}

}  // namespace
