// The runtime's narrow file streams take Windows paths as they are.
#pragma once

#include <string>

inline std::string NarrowFilePath(const char* path) { return path; }
