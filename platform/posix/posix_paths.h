// What the substitute's file functions and its image decoder share: Windows paths turned into
// POSIX ones, and errno values turned into the Win32 error codes Windows would report.
#pragma once

#include <string>

#include "win_types.h"

namespace substitute {

// The path with every "\\" turned into "/".
std::string PosixPath(const char* windowsPath);

// The Win32 error for `error` (an errno value) from an operation on `posixPath`: a missing
// file is ERROR_FILE_NOT_FOUND when its folder exists and ERROR_PATH_NOT_FOUND when not.
DWORD Win32ErrorFromErrno(int error, const std::string& posixPath);

}  // namespace substitute
