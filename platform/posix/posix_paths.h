// What the substitute's file functions and its image decoder share: Windows paths turned into
// POSIX ones, and errno values turned into the Win32 error codes Windows would report.
#pragma once

#include <string>

#include "win_types.h"

namespace substitute {

// An 8-bit path as the ANSI file functions take it: the bytes read as the ANSI code page, as
// Windows reads them, spelled in UTF-8 as POSIX file names are, every "\\" turned into "/".
// UTF-8 bytes handed to an ANSI function therefore name another file, as on Windows.
std::string PosixPath(const char* windowsPath);

// A path that came as UTF-16 (the wide functions), already turned into UTF-8.
std::string PosixPathFromUtf8(const char* utf8Path);

// The Win32 error for `error` (an errno value) from an operation on `posixPath`: a missing
// file is ERROR_FILE_NOT_FOUND when its folder exists and ERROR_PATH_NOT_FOUND when not.
DWORD Win32ErrorFromErrno(int error, const std::string& posixPath);

}  // namespace substitute
