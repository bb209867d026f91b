// The substitute's memory functions: their constants as the mingw-w64 headers give them, and
// VirtualQuery's answers for what the process has and has not mapped.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "platform/platform.h"

namespace {

// "#define NAME VALUE" of a header, VALUE read as a number ("0x40", "__MSABI_LONG(8)").
std::map<std::string, unsigned long> Defines(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::regex define(R"(#define\s+(\w+)\s+(?:__MSABI_LONG\()?(0x[0-9A-Fa-f]+|\d+))");
    std::map<std::string, unsigned long> out;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), define); it != std::sregex_iterator(); ++it)
        out.emplace((*it)[1], std::strtoul((*it)[2].str().c_str(), nullptr, 0));
    return out;
}

TEST(Kernel32Memory, ConstantsAreTheSdksAsAnotherToolchainDeclaresThem) {
    const std::map<std::string, unsigned long> winnt = Defines(MINGW_INCLUDE_DIR "/winnt.h");
    const std::map<std::string, unsigned long> winerror = Defines(MINGW_INCLUDE_DIR "/winerror.h");
    ASSERT_FALSE(winnt.empty()) << "no mingw-w64 headers at " MINGW_INCLUDE_DIR;
    const struct Case {
        const std::map<std::string, unsigned long>& header;
        const char* name;
        unsigned long ours;
    } cases[] = {
        {winnt, "PAGE_NOACCESS", PAGE_NOACCESS},
        {winnt, "PAGE_READONLY", PAGE_READONLY},
        {winnt, "PAGE_READWRITE", PAGE_READWRITE},
        {winnt, "PAGE_WRITECOPY", PAGE_WRITECOPY},
        {winnt, "PAGE_EXECUTE", PAGE_EXECUTE},
        {winnt, "PAGE_EXECUTE_READ", PAGE_EXECUTE_READ},
        {winnt, "PAGE_EXECUTE_READWRITE", PAGE_EXECUTE_READWRITE},
        {winnt, "PAGE_EXECUTE_WRITECOPY", PAGE_EXECUTE_WRITECOPY},
        {winnt, "PAGE_GUARD", PAGE_GUARD},
        {winnt, "MEM_COMMIT", MEM_COMMIT},
        {winnt, "MEM_RESERVE", MEM_RESERVE},
        {winnt, "MEM_FREE", MEM_FREE},
        {winnt, "MEM_PRIVATE", MEM_PRIVATE},
        {winerror, "ERROR_NOT_ENOUGH_MEMORY", ERROR_NOT_ENOUGH_MEMORY},
        {winerror, "ERROR_BAD_LENGTH", ERROR_BAD_LENGTH},
        {winerror, "ERROR_INVALID_ADDRESS", ERROR_INVALID_ADDRESS},
        {winerror, "ERROR_NOACCESS", ERROR_NOACCESS},
    };
    for (const Case& c : cases) {
        auto found = c.header.find(c.name);
        ASSERT_NE(found, c.header.end()) << c.name;
        EXPECT_EQ(found->second, c.ours) << c.name;
    }
}

TEST(Kernel32Memory, VirtualQueryTellsFreeFromCommittedAndSplitsAtAChangedPage) {
    auto* pages = static_cast<uint8_t*>(
        mmap(nullptr, 3 * 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(munmap(pages + 2 * 4096, 4096), 0);  // the third page: nothing mapped
    DWORD previous = 0;
    ASSERT_TRUE(VirtualProtect(pages + 4096, 1, PAGE_EXECUTE_READ, &previous));
    const struct Case {
        const char* what;
        const void* at;
        DWORD state;
        DWORD protect;
        SIZE_T regionSize;  // 0: not looked at
    } cases[] = {
        {"mapped, its region ends at the changed page", pages + 10, MEM_COMMIT, PAGE_READWRITE, 4096},
        {"the changed page", pages + 4096 + 5, MEM_COMMIT, PAGE_EXECUTE_READ, 4096},
        {"nothing mapped", pages + 2 * 4096 + 1, MEM_FREE, PAGE_NOACCESS, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MEMORY_BASIC_INFORMATION info{};
        ASSERT_EQ(VirtualQuery(c.at, &info, sizeof info), sizeof info);
        EXPECT_EQ(info.BaseAddress, reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(c.at) & ~uintptr_t{4095}));
        EXPECT_EQ(info.State, c.state);
        EXPECT_EQ(info.Protect, c.protect);
        if (c.regionSize) {
            EXPECT_EQ(info.RegionSize, c.regionSize);
        }
    }
    MEMORY_BASIC_INFORMATION info{};
    EXPECT_EQ(VirtualQuery(pages, &info, sizeof info - 1), 0u);
    EXPECT_EQ(GetLastError(), ERROR_BAD_LENGTH);
    EXPECT_FALSE(FlushInstructionCache(nullptr, pages, 5)) << "only the current process's handle";
    VirtualProtect(pages + 4096, 1, PAGE_READWRITE, &previous);  // as it was mapped
    munmap(pages, 2 * 4096);
}

}  // namespace
