// kernel32 files over POSIX: attributes, folders, deletion and handles that wrap a file
// descriptor, with the error codes and the share-mode checks Windows applies.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <new>
#include <unordered_set>

#include "kernel32.h"
#include "posix_paths.h"
#include "utf16_text.h"
#include "substitute.h"

namespace {

using substitute::Call;
using substitute::ShouldFail;

thread_local DWORD lastError = 0;

// What a HANDLE from CreateFileA points at.
struct OpenFile {
    int fd;        // the descriptor the handle wraps
    DWORD access;  // GENERIC_READ and/or GENERIC_WRITE as asked for
    DWORD share;   // FILE_SHARE_* the opener allowed others
    dev_t device;  // identity of the file, to find other handles on it
    ino_t inode;
};

std::mutex openFilesMutex;
std::unordered_set<OpenFile*> openFiles;

// Seconds from 1601-01-01 (the FILETIME epoch) to 1970-01-01 (the POSIX one).
constexpr int64_t kFileTimeEpochOffset = 11644473600;

FILETIME FileTimeFrom(int64_t seconds, uint32_t nanoseconds) {
    int64_t since1601 = seconds + kFileTimeEpochOffset;
    uint64_t ticks =
        since1601 < 0 ? 0 : static_cast<uint64_t>(since1601) * 10000000u + nanoseconds / 100u;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

FILETIME FileTimeFrom(const struct statx_timestamp& t) { return FileTimeFrom(t.tv_sec, t.tv_nsec); }

BOOL Fail(DWORD error) {
    lastError = error;
    return FALSE;
}

BOOL FailWithErrno(int error, const std::string& path) {
    return Fail(substitute::Win32ErrorFromErrno(error, path));
}

// The handle as an open file of this substitute, or null (checked against the open set, so a
// stale or foreign handle is refused rather than followed). Call with openFilesMutex held.
OpenFile* FindOpenFile(HANDLE handle) {
    auto* file = static_cast<OpenFile*>(handle);
    return openFiles.count(file) ? file : nullptr;
}

// The descriptor behind a handle opened with `access`, or the error for using it so.
DWORD DescriptorOf(HANDLE handle, DWORD access, int& fd) {
    std::lock_guard<std::mutex> lock(openFilesMutex);
    OpenFile* file = FindOpenFile(handle);
    if (!file) return ERROR_INVALID_HANDLE;
    if (!(file->access & access)) return ERROR_ACCESS_DENIED;
    fd = file->fd;
    return 0;
}

// Whether another open handle on the same file refuses this access or is refused by this
// share mode, as Windows decides a sharing violation. Call with openFilesMutex held.
bool ConflictsWithOpenHandles(dev_t device, ino_t inode, DWORD access, DWORD share) {
    for (const OpenFile* other : openFiles) {
        if (other->device != device || other->inode != inode) continue;
        if ((access & GENERIC_READ) && !(other->share & FILE_SHARE_READ)) return true;
        if ((access & GENERIC_WRITE) && !(other->share & FILE_SHARE_WRITE)) return true;
        if ((other->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
        if ((other->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    }
    return false;
}

bool OpenedWithoutShareDelete(dev_t device, ino_t inode) {
    for (const OpenFile* other : openFiles)
        if (other->device == device && other->inode == inode && !(other->share & FILE_SHARE_DELETE))
            return true;
    return false;
}

}  // namespace

namespace substitute {

std::string PosixPath(const char* windowsPath) {
    std::string path;
    for (const char* at = windowsPath ? windowsPath : ""; *at; ++at) {
        const char16_t unit = Cp1252Unit(static_cast<unsigned char>(*at));
        if (unit == '\\') {
            path += '/';
        } else if (unit < 0x80) {
            path += static_cast<char>(unit);
        } else if (unit < 0x800) {
            path += static_cast<char>(0xC0 | (unit >> 6));
            path += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            path += static_cast<char>(0xE0 | (unit >> 12));
            path += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            path += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return path;
}

std::string PosixPathFromUtf8(const char* utf8Path) {
    std::string path = utf8Path ? utf8Path : "";
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

DWORD Win32ErrorFromErrno(int error, const std::string& posixPath) {
    switch (error) {
        case ENOENT: {
            if (posixPath.empty()) return ERROR_PATH_NOT_FOUND;
            size_t slash = posixPath.find_last_of('/');
            std::string folder = slash == std::string::npos ? "."
                                 : slash == 0               ? "/"
                                                            : posixPath.substr(0, slash);
            struct stat st;
            bool folderExists = stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        }
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return ERROR_ACCESS_DENIED;
        case EEXIST: return ERROR_ALREADY_EXISTS;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case EBADF: return ERROR_INVALID_HANDLE;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        default: return ERROR_GEN_FAILURE;
    }
}

long OpenFileHandles() {
    std::lock_guard<std::mutex> lock(openFilesMutex);
    return static_cast<long>(openFiles.size());
}

}  // namespace substitute

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
    if (ShouldFail(Call::GetFileAttributesExA)) return Fail(ERROR_ACCESS_DENIED);
    if (!path || !info || level != GetFileExInfoStandard) return Fail(ERROR_INVALID_PARAMETER);
    std::string posixPath = substitute::PosixPath(path);
    struct statx st;
    if (statx(AT_FDCWD, posixPath.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return FailWithErrno(errno, posixPath);

    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
    const bool directory = S_ISDIR(st.stx_mode);
    data->dwFileAttributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data->ftLastWriteTime = FileTimeFrom(st.stx_mtime);
    data->ftLastAccessTime = FileTimeFrom(st.stx_atime);
    // Not every file system records a birth time; the last write is the nearest stand-in.
    data->ftCreationTime =
        (st.stx_mask & STATX_BTIME) ? FileTimeFrom(st.stx_btime) : data->ftLastWriteTime;
    uint64_t size = directory ? 0 : st.stx_size;  // Windows reports no size for folders
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
    if (ShouldFail(Call::GetFileAttributesA)) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (!path) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string posixPath = substitute::PosixPath(path);
    struct stat st;
    if (stat(posixPath.c_str(), &st) != 0) {
        FailWithErrno(errno, posixPath);
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    if (ShouldFail(Call::CreateDirectoryA)) return Fail(ERROR_ACCESS_DENIED);
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    std::string posixPath = substitute::PosixPath(path);
    if (mkdir(posixPath.c_str(), 0777) == 0) return TRUE;
    // mkdir's ENOENT always means a missing parent folder, which Windows calls a missing path.
    if (errno == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
    return FailWithErrno(errno, posixPath);
}

BOOL DeleteFileA(LPCSTR path) {
    if (ShouldFail(Call::DeleteFileA)) return Fail(ERROR_ACCESS_DENIED);
    if (!path) return Fail(ERROR_INVALID_PARAMETER);
    std::string posixPath = substitute::PosixPath(path);
    std::lock_guard<std::mutex> lock(openFilesMutex);
    struct stat st;
    if (lstat(posixPath.c_str(), &st) != 0) return FailWithErrno(errno, posixPath);
    if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    if (OpenedWithoutShareDelete(st.st_dev, st.st_ino)) return Fail(ERROR_SHARING_VIOLATION);
    if (unlink(posixPath.c_str()) != 0) return FailWithErrno(errno, posixPath);
    return TRUE;
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD, HANDLE) {
    if (ShouldFail(Call::CreateFileA)) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const DWORD readWrite = access & (GENERIC_READ | GENERIC_WRITE);
    int flags = readWrite == (GENERIC_READ | GENERIC_WRITE) ? O_RDWR
                : readWrite == GENERIC_WRITE                ? O_WRONLY
                                                            : O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
        case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
        case OPEN_EXISTING: break;
        case OPEN_ALWAYS: flags |= O_CREAT; break;
        case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
        default: flags = -1;
    }
    // Only reading and writing are substituted, not handles for attributes alone.
    bool truncatesWithoutWrite = disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE);
    if (!path || readWrite == 0 || flags == -1 || truncatesWithoutWrite) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }

    std::string posixPath = substitute::PosixPath(path);
    std::lock_guard<std::mutex> lock(openFilesMutex);
    // The share check comes before opening, so a refused CREATE_ALWAYS truncates nothing.
    struct stat before;
    const bool existed = stat(posixPath.c_str(), &before) == 0;
    if (existed && S_ISDIR(before.st_mode)) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (existed && ConflictsWithOpenHandles(before.st_dev, before.st_ino, readWrite, share)) {
        Fail(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    int fd = open(posixPath.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        int error = errno;
        Fail(error == EEXIST ? ERROR_FILE_EXISTS
                             : substitute::Win32ErrorFromErrno(error, posixPath));
        return INVALID_HANDLE_VALUE;
    }
    struct stat opened;
    if (fstat(fd, &opened) != 0 || S_ISDIR(opened.st_mode)) {
        close(fd);
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // Out of memory, Windows refuses the open; it never throws.
    auto* file = new (std::nothrow) OpenFile{fd, readWrite, share, opened.st_dev, opened.st_ino};
    try {
        if (file) openFiles.insert(file);
    } catch (const std::bad_alloc&) {
        delete file;
        file = nullptr;
    }
    if (!file) {
        close(fd);
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    if (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)
        lastError = existed ? ERROR_ALREADY_EXISTS : 0;
    return file;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read) *read = 0;
    if (ShouldFail(Call::ReadFile)) return Fail(ERROR_READ_FAULT);
    // Without OVERLAPPED, Windows requires the count pointer; overlapped I/O is not substituted.
    if (!read || overlapped || (!buffer && toRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
    int fd;
    if (DWORD error = DescriptorOf(handle, GENERIC_READ, fd)) return Fail(error);
    auto* at = static_cast<unsigned char*>(buffer);
    DWORD total = 0;
    while (total < toRead) {
        ssize_t got = ::read(fd, at + total, toRead - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
            return Fail(errno == EIO ? ERROR_READ_FAULT
                                     : substitute::Win32ErrorFromErrno(errno, ""));
        if (got == 0) break;  // end of file: success with what arrived, possibly nothing
        total += static_cast<DWORD>(got);
    }
    *read = total;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
               LPOVERLAPPED overlapped) {
    if (written) *written = 0;
    if (ShouldFail(Call::WriteFile)) return Fail(ERROR_WRITE_FAULT);
    if (!written || overlapped || (!buffer && toWrite > 0)) return Fail(ERROR_INVALID_PARAMETER);
    int fd;
    if (DWORD error = DescriptorOf(handle, GENERIC_WRITE, fd)) return Fail(error);
    auto* at = static_cast<const unsigned char*>(buffer);
    DWORD total = 0;
    while (total < toWrite) {
        ssize_t put = ::write(fd, at + total, toWrite - total);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) {
            *written = total;
            return Fail(errno == EIO ? ERROR_WRITE_FAULT
                                     : substitute::Win32ErrorFromErrno(errno, ""));
        }
        total += static_cast<DWORD>(put);
    }
    *written = total;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    OpenFile* file;
    {
        std::lock_guard<std::mutex> lock(openFilesMutex);
        file = FindOpenFile(handle);
        if (!file) return Fail(ERROR_INVALID_HANDLE);
        openFiles.erase(file);
    }
    close(file->fd);
    delete file;
    return TRUE;
}
