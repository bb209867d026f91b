// Folder-relative names: folder and file name joined, the extension added when missing.
#pragma once

#include <string>

// Empty when either part is null or empty.
std::string JoinFolderImagePath(const char* folderPath, const char* fileName,
                                const char* extension);
