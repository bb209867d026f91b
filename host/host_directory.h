// The game's installation directory, and paths under it.
#pragma once

// Size of the directory buffer and of the path buffer: 260 characters and the terminator.
inline constexpr unsigned kHostPathBufferSize = 261;

// The folder of the game executable with its trailing separator, computed on first use.
const char* HostDirectory();

// The directory joined with `relativePath`, in one shared buffer that the next call
// overwrites. A join that does not fit the buffer answers an empty path, never a cut one.
const char* HostFilePath(const char* relativePath);
