// Whole text files as the C runtime's text mode sees them: CR LF on disk, LF in memory.
#pragma once

#include <cstddef>
#include <string>

// Larger files are refused rather than read: nothing the strip reads this way is that big.
inline constexpr size_t kTextFileLimit = 1u << 20;

// Reads the file with every CR LF turned into LF. False when it cannot be opened or read, or
// is larger than kTextFileLimit.
bool ReadTextFile(const char* path, std::string& text);

// Replaces the file's content with `text`, every LF written as CR LF. False when it cannot be
// opened for writing (the file keeps its old content) or not all of it was written.
bool WriteTextFile(const char* path, const std::string& text);
