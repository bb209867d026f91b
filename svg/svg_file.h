// Reading an SVG file as raw bytes through the platform's file calls.
#pragma once

#include <string>

// The file's bytes, unchanged; empty when it cannot be opened, read or is empty. The path goes to
// the ANSI file functions as it is.
std::string ReadSvgText(const char* filePath);
