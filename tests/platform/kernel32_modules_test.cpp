// Module loading in the substitute: where LoadLibraryA looks, what becomes loaded, exports,
// the call logs, freeing, injected failures and refused registrations.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using substitute::Call;
using substitute::Export;

HMODULE Handle(uintptr_t address) { return reinterpret_cast<HMODULE>(address); }

const HMODULE kGame = Handle(0x400000);
const HMODULE kScriptsVC = Handle(0x10000000);
const HMODULE kRootSA = Handle(0x11000000);
const HMODULE kElsewhere = Handle(0x12000000);

int FindPng() { return 1; }
int FindSvg() { return 2; }

// Set up before main(), as the stand-in does from its static initialisers.
const bool placedEarly =
    substitute::PlaceModuleFile("C:\\Early\\early.asi", Handle(0x13000000), {Export("Early", &FindPng)});

class Modules : public ::testing::Test {
protected:
    void SetUp() override {
        char name[MAX_PATH + 1];
        savedMain_ = GetModuleHandleA(nullptr);
        savedName_ = savedMain_ && GetModuleFileNameA(savedMain_, name, sizeof name) ? name : "";
        Reset();
    }
    void TearDown() override {
        substitute::ForgetModules();
        substitute::ClearModuleLogs();
        substitute::ResetSubstitute();
        substitute::SetMainModule(savedMain_, savedName_.c_str());
    }
    // The game in C:\Games\VC with two plug-in files beside it and one elsewhere.
    static void Reset() {
        substitute::ForgetModules();
        substitute::ClearModuleLogs();
        substitute::ResetSubstitute();
        ASSERT_TRUE(substitute::SetMainModule(kGame, "C:\\Games\\VC\\gta-vc.exe"));
        ASSERT_TRUE(substitute::PlaceModuleFile("C:\\Games\\VC\\scripts\\Ombrix.VC.asi", kScriptsVC,
                                                {Export("FindPNGinFolderPath", &FindPng)}));
        ASSERT_TRUE(substitute::PlaceModuleFile("C:\\Games\\VC\\Ombrix.SA.asi", kRootSA,
                                                {Export("FindPNGinFolderPath", &FindPng),
                                                 Export("FindSVGinFolderPath", &FindSvg)}));
        ASSERT_TRUE(substitute::PlaceModuleFile("D:\\elsewhere\\Other.dll", kElsewhere));
    }

    HMODULE savedMain_ = nullptr;
    std::string savedName_;
};

TEST_F(Modules, LoadLibrarySearchesAsWindowsDoes) {
    const std::string tooLong = "scripts\\" + std::string(MAX_PATH, 'x') + ".asi";
    struct Case {
        const char* name;
        HMODULE expected;
        DWORD error;  // when null
    } const cases[] = {
        {"scripts\\Ombrix.VC.asi", kScriptsVC, 0},           // relative: from the game's folder
        {"SCRIPTS/ombrix.vc.ASI", kScriptsVC, 0},            // no case, "/" as "\"
        {".\\scripts\\..\\scripts\\Ombrix.VC.asi", kScriptsVC, 0},
        {"Ombrix.SA.asi", kRootSA, 0},                        // bare: the game's folder first
        {"C:\\Games\\VC\\Ombrix.SA.asi", kRootSA, 0},         // absolute
        {"c:/games/vc/./Ombrix.SA.asi", kRootSA, 0},
        {"D:\\elsewhere\\Other", kElsewhere, 0},              // ".dll" added
        {"Ombrix.VC.asi", nullptr, ERROR_MOD_NOT_FOUND},      // it is in scripts
        {"scripts\\Ombrix.SA.asi", nullptr, ERROR_MOD_NOT_FOUND},
        {"Other.dll", nullptr, ERROR_MOD_NOT_FOUND},          // not in the game's folder
        {"", nullptr, ERROR_MOD_NOT_FOUND},
        {nullptr, nullptr, ERROR_INVALID_PARAMETER},
        {tooLong.c_str(), nullptr, ERROR_FILENAME_EXCED_RANGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        Reset();
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(c.name), c.expected);
        if (!c.expected) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
}

TEST_F(Modules, APlacedFileIsOnlyFoundByNameOnceLoaded) {
    EXPECT_EQ(GetModuleHandleA("Ombrix.VC.asi"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(kScriptsVC, "FindPNGinFolderPath"), nullptr) << "not loaded yet";
    ASSERT_EQ(LoadLibraryA("scripts\\Ombrix.VC.asi"), kScriptsVC);
    EXPECT_EQ(GetModuleHandleA("ombrix.vc.asi"), kScriptsVC);
    char name[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(kScriptsVC, name, sizeof name), 0u);
    EXPECT_STREQ(name, "C:\\Games\\VC\\scripts\\Ombrix.VC.asi");
    // Once loaded, a bare name finds it by file name although it is not in the game's folder.
    EXPECT_EQ(LoadLibraryA("Ombrix.VC.asi"), kScriptsVC);
}

TEST_F(Modules, AnAlreadyLoadedModuleIsReturnedAsItIs) {
    ASSERT_TRUE(substitute::RegisterModule(Handle(0x14000000), "E:\\mods\\Ombrix.SA.asi",
                                           {Export("FindPNGinFolderPath", &FindSvg)}));
    EXPECT_EQ(GetModuleHandleA("Ombrix.SA.asi"), Handle(0x14000000));
    EXPECT_EQ(LoadLibraryA("Ombrix.SA.asi"), Handle(0x14000000)) << "loaded modules come first";
    EXPECT_EQ(LoadLibraryA("C:\\Games\\VC\\Ombrix.SA.asi"), kRootSA) << "a path names the file";
    EXPECT_EQ(reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(Handle(0x14000000), "FindPNGinFolderPath")))(), 2);
}

TEST_F(Modules, ExportsMatchTheirExactName) {
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    struct Case {
        HMODULE module;
        const char* name;
        FARPROC expected;
    } const cases[] = {
        {kRootSA, "FindPNGinFolderPath", Export("", &FindPng).address},
        {kRootSA, "FindSVGinFolderPath", Export("", &FindSvg).address},
        {kRootSA, "findpnginfolderpath", nullptr},
        {kRootSA, "FindPNGinFolderPat", nullptr},
        {kRootSA, reinterpret_cast<LPCSTR>(uintptr_t{1}), nullptr},  // ordinals are not modelled
        {kScriptsVC, "FindPNGinFolderPath", nullptr},                 // placed, not loaded
        {Handle(0x7000), "FindPNGinFolderPath", nullptr},             // no such module
        {nullptr, "FindPNGinFolderPath", nullptr},                    // the game exports nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(c.name) > 0xFFFF ? c.name : "(ordinal)");
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(c.module, c.name), c.expected);
        if (!c.expected) {
            EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
        }
    }
}

TEST_F(Modules, TheLogsKeepTheNamesInCallOrder) {
    for (const char* name : {"Ombrix.VC.asi", "Ombrix.asi"}) EXPECT_EQ(GetModuleHandleA(name), nullptr);
    GetModuleHandleA(nullptr);  // not logged
    for (const char* name : {"scripts\\Ombrix.VC.asi", "scripts\\Ombrix.asi"}) LoadLibraryA(name);
    EXPECT_EQ(substitute::ModuleHandleQueries(), (std::vector<std::string>{"Ombrix.VC.asi", "Ombrix.asi"}));
    EXPECT_EQ(substitute::LoadLibraryCalls(),
              (std::vector<std::string>{"scripts\\Ombrix.VC.asi", "scripts\\Ombrix.asi"}));
    substitute::ClearModuleLogs();
    EXPECT_TRUE(substitute::LoadLibraryCalls().empty());
    EXPECT_TRUE(substitute::ModuleHandleQueries().empty());
    for (int i = 0; i < substitute::kMaxLoggedModuleCalls + 5; ++i) LoadLibraryA("none.dll");
    EXPECT_EQ(substitute::LoadLibraryCalls().size(), size_t(substitute::kMaxLoggedModuleCalls));
    EXPECT_EQ(substitute::CallCount(Call::LoadLibraryA), substitute::kMaxLoggedModuleCalls + 7);
}

TEST_F(Modules, EachLoadNeedsItsFree) {
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    EXPECT_TRUE(FreeLibrary(kRootSA));
    EXPECT_EQ(GetModuleHandleA("Ombrix.SA.asi"), kRootSA);
    EXPECT_TRUE(FreeLibrary(kRootSA));
    EXPECT_EQ(GetModuleHandleA("Ombrix.SA.asi"), nullptr) << "unloaded; the file stays";
    EXPECT_FALSE(FreeLibrary(kRootSA));
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    EXPECT_TRUE(FreeLibrary(kGame)) << "the game stays loaded";
    EXPECT_EQ(GetModuleHandleA(nullptr), kGame);
}

TEST_F(Modules, InjectedFailuresFireOnce) {
    ASSERT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    substitute::FailCall(Call::LoadLibraryA);
    EXPECT_EQ(LoadLibraryA("Ombrix.SA.asi"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("Ombrix.SA.asi"), kRootSA);
    substitute::FailCall(Call::GetProcAddress);
    EXPECT_EQ(GetProcAddress(kRootSA, "FindPNGinFolderPath"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_NE(GetProcAddress(kRootSA, "FindPNGinFolderPath"), nullptr);
    EXPECT_EQ(substitute::CallCount(Call::GetProcAddress), 2);
}

TEST_F(Modules, RegistrationsThatWouldNotFitAreRefused) {
    const std::string longPath = "C:\\" + std::string(MAX_PATH, 'x');
    const std::string longExport(substitute::kMaxExportName + 1, 'E');
    const std::string longestExport(substitute::kMaxExportName, 'E');
    EXPECT_FALSE(substitute::RegisterModule(nullptr, "C:\\a.dll"));
    EXPECT_FALSE(substitute::RegisterModule(Handle(0x20000000), longPath.c_str()));
    EXPECT_FALSE(substitute::SetMainModule(kGame, longPath.c_str()));
    EXPECT_FALSE(substitute::RegisterModule(Handle(0x20000000), "C:\\a.dll", {Export(longExport.c_str(), &FindPng)}));
    EXPECT_TRUE(substitute::RegisterModule(Handle(0x20000000), "C:\\a.dll", {Export(longestExport.c_str(), &FindPng)}));
    EXPECT_EQ(GetProcAddress(Handle(0x20000000), longestExport.c_str()), Export("", &FindPng).address);
    EXPECT_FALSE(substitute::RegisterModule(Handle(0x20000000), "C:\\a.dll",
                                            {Export("1", &FindPng), Export("2", &FindPng), Export("3", &FindPng),
                                             Export("4", &FindPng), Export("5", &FindPng), Export("6", &FindPng),
                                             Export("7", &FindPng), Export("8", &FindPng), Export("9", &FindPng)}));
    EXPECT_FALSE(substitute::PlaceModuleFile("C:\\b.dll", Handle(0x20000000))) << "a loaded module's handle";
    char name[MAX_PATH];
    EXPECT_GT(GetModuleFileNameA(kGame, name, sizeof name), 0u);
    EXPECT_STREQ(name, "C:\\Games\\VC\\gta-vc.exe") << "refusals change nothing";

    substitute::ForgetModules();
    int added = 0;
    while (substitute::RegisterModule(Handle(0x30000000 + 0x10000 * added), "C:\\many.dll")) ++added;
    EXPECT_EQ(added, substitute::kMaxModules - 1) << "every row but the game's";
}

TEST_F(Modules, StaticInitialisersCanPlaceModules) {
    EXPECT_TRUE(placedEarly);
}

}  // namespace
