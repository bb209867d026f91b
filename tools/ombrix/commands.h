// The subcommands of the `ombrix` tool; each returns the process exit status.
#pragma once

#include <string>
#include <vector>

int RunLoadCommand(const std::vector<std::string>& args);
int RunCacheCommand(const std::vector<std::string>& args);
int RunPrepassCommand(const std::vector<std::string>& args);
int RunIconCommand(const std::vector<std::string>& args);

// Prints "ombrix: <message>" and the usage line to stderr; returns 1.
int Fail(const std::string& message);

// True for a file name ending in ".svg" in any letter case: the SVG loader takes it.
bool IsSvgFile(const std::string& file);
