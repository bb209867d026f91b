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

// As Windows answers: a page nothing is mapped at is free and unreadable, a mapped one committed
// with its protection; a buffer too small for the answer gets none.
TEST(Kernel32Memory, VirtualQueryTellsFreeFromCommitted) {
    auto* pages = static_cast<uint8_t*>(
        mmap(nullptr, 2 * 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(munmap(pages + 4096, 4096), 0);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(VirtualQuery(pages + 10, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.BaseAddress, pages);
    EXPECT_EQ(info.State, MEM_COMMIT);
    EXPECT_EQ(info.Protect, PAGE_READWRITE);
    ASSERT_EQ(VirtualQuery(pages + 4096, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.State, MEM_FREE);
    EXPECT_EQ(info.Protect, PAGE_NOACCESS);
    EXPECT_EQ(VirtualQuery(pages, &info, sizeof info - 1), 0u);
    EXPECT_EQ(GetLastError(), ERROR_BAD_LENGTH);
    munmap(pages, 4096);
}

}  // namespace
