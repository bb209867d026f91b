// The file functions over POSIX: Windows paths, attributes with FILETIME, folder and file
// errors as Windows reports them, handles, share modes and injected failures.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using substitute::Call;

class Kernel32Files : public ::testing::Test {
protected:
    void SetUp() override {
        substitute::ResetSubstitute();
        char pattern[] = "/tmp/ombrix-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        handlesAtStart_ = substitute::OpenFileHandles();
    }
    void TearDown() override {
        substitute::ResetSubstitute();
        EXPECT_EQ(substitute::OpenFileHandles(), handlesAtStart_) << "handles left open";
        chmod(dir_.c_str(), 0755);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // The scratch path written the Windows way, with backslashes.
    std::string Win(const std::string& name) const { return dir_ + "\\" + name; }
    std::string Posix(const std::string& name) const { return dir_ + "/" + name; }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(Posix(name), std::ios::binary) << text;
    }
    HANDLE Open(const std::string& name, DWORD access, DWORD disposition,
                DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE) {
        return CreateFileA(Win(name).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::string dir_;
    long handlesAtStart_ = 0;
};

uint64_t Ticks(const FILETIME& t) { return uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

TEST_F(Kernel32Files, AttributesGiveLastWriteAsFileTimeAndTheSize) {
    Write("a.bin", "12345");
    // 2020-01-01 00:00:00.1234567 UTC, in 100 ns ticks since 1601-01-01.
    const struct timespec times[2] = {{1577836800, 123456789}, {1577836800, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, Posix("a.bin").c_str(), times, 0), 0);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(Win("a.bin").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(Ticks(data.ftLastWriteTime),
              (1577836800ull + 11644473600ull) * 10000000ull + 1234567);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(Win("a.bin").c_str()), FILE_ATTRIBUTE_NORMAL);

    // Sizes above 4 GiB use the high half (a sparse file takes no room).
    ASSERT_EQ(truncate(Posix("a.bin").c_str(), 0x100000005ll), 0);
    ASSERT_TRUE(GetFileAttributesExA(Win("a.bin").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 5u);

    ASSERT_TRUE(GetFileAttributesExA(dir_.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(dir_.c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Kernel32Files, MissingFileAndMissingFolderAreToldApart) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    EXPECT_FALSE(GetFileAttributesExA(Win("absent").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(GetFileAttributesExA(Win("no\\absent").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA(Win("absent").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("absent", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("no\\absent", GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA(Win("absent").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Kernel32Files, CreateDirectoryFailsAsWindowsDoes) {
    EXPECT_TRUE(CreateDirectoryA(Win("sub").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(Win("sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    Write("file", "x");
    EXPECT_FALSE(CreateDirectoryA(Win("file").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA(Win("no\\sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CreateDirectoryA(Win("file\\sub").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    // Root passes every permission check, so the refusal is asked for as an ordinary user.
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    const BOOL created = CreateDirectoryA(Win("locked").c_str(), nullptr);
    const DWORD error = GetLastError();
    if (root) {
        ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_FALSE(created);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
}

TEST_F(Kernel32Files, WriteThenReadBackWithEndOfFileAsSuccess) {
    HANDLE out = Open("data", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 0u) << "a new file";
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(out, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    DWORD read = 9;
    char buffer[16];
    EXPECT_FALSE(ReadFile(out, buffer, 1, &read, nullptr)) << "opened for writing only";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(out));
    EXPECT_FALSE(CloseHandle(out));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    HANDLE in = Open("data", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(in, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadFile(in, buffer, 16, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "hello");
    EXPECT_TRUE(ReadFile(in, buffer, 16, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(in));

    // CREATE_ALWAYS truncates an existing file and says that it existed.
    out = Open("data", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CloseHandle(out));
    EXPECT_EQ(std::filesystem::file_size(Posix("data")), 0u);

    EXPECT_EQ(Open("", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA(dir_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << "a folder is not a file";
}

TEST_F(Kernel32Files, ShareModesAreEnforced) {
    Write("shared", "abc");
    HANDLE exclusive = Open("shared", GENERIC_READ, OPEN_EXISTING, 0);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("shared", GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(std::filesystem::file_size(Posix("shared")), 3u) << "refused before truncating";
    EXPECT_FALSE(DeleteFileA(Win("shared").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    CloseHandle(exclusive);

    // Readers and writers that allow each other, as the mip cache opens its files.
    HANDLE reader = Open("shared", GENERIC_READ, OPEN_EXISTING);
    HANDLE writer = Open("shared", GENERIC_WRITE, CREATE_ALWAYS);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    CloseHandle(writer);
    EXPECT_TRUE(DeleteFileA(Win("shared").c_str()));
    EXPECT_FALSE(std::filesystem::exists(Posix("shared")));
}

TEST_F(Kernel32Files, EachInjectedFaultFiresOnce) {
    Write("f", "0123456789");
    char buffer[4];
    DWORD n = 0;
    struct Case {
        Call call;
        std::function<bool()> attempt;
    };
    const Case cases[] = {
        {Call::GetFileAttributesExA,
         [&] {
             WIN32_FILE_ATTRIBUTE_DATA d;
             return GetFileAttributesExA(Win("f").c_str(), GetFileExInfoStandard, &d) != FALSE;
         }},
        {Call::GetFileAttributesA,
         [&] { return GetFileAttributesA(Win("f").c_str()) != INVALID_FILE_ATTRIBUTES; }},
        {Call::CreateDirectoryA,
         [&] {
             bool made = CreateDirectoryA(Win("d").c_str(), nullptr) != FALSE;
             std::filesystem::remove(Posix("d"));
             return made;
         }},
        {Call::DeleteFileA,
         [&] {
             Write("g", "x");
             return DeleteFileA(Win("g").c_str()) != FALSE;
         }},
        {Call::CreateFileA,
         [&] {
             HANDLE h = Open("f", GENERIC_READ, OPEN_EXISTING);
             if (h == INVALID_HANDLE_VALUE) return false;
             CloseHandle(h);
             return true;
         }},
        {Call::ReadFile,
         [&] {
             HANDLE h = Open("f", GENERIC_READ, OPEN_EXISTING);
             bool ok = ReadFile(h, buffer, 4, &n, nullptr) != FALSE && n == 4;
             CloseHandle(h);
             return ok;
         }},
        {Call::WriteFile,
         [&] {
             HANDLE h = Open("w", GENERIC_WRITE, CREATE_ALWAYS);
             bool ok = WriteFile(h, "abcd", 4, &n, nullptr) != FALSE && n == 4;
             CloseHandle(h);
             return ok;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.call));
        substitute::ResetSubstitute();
        substitute::FailCall(c.call, 1);
        EXPECT_TRUE(c.attempt());
        EXPECT_FALSE(c.attempt());
        EXPECT_NE(GetLastError(), 0u);
        EXPECT_TRUE(c.attempt());
        EXPECT_EQ(substitute::CallCount(c.call), 3);
    }
}

}  // namespace
