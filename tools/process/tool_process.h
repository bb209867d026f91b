// What the tools need of the operating system around them, one implementation per platform
// (tool_process_posix.cpp, tool_process_windows.cpp): where the program lies, starting another
// program, a throw-away folder, and whether a console window belongs to the program alone.
#pragma once

#include <string>
#include <vector>

// The folder of the running program file; `argv0` answers when the system will not say.
std::string ProgramFolder(const char* argv0);

// Starts `program` with `args` (args[0] is the name it sees), waits for it and answers its exit
// status; -1, with `error` saying why, when it could not start or did not exit normally.
int RunProgram(const std::string& program, const std::vector<std::string>& args, std::string& error);

// A new empty folder under the system's temporary folder, its name starting with `prefix`;
// empty, with `error` saying why, when none can be made.
std::string MakeScratchFolder(const std::string& prefix, std::string& error);

// True when the program's console window was opened for it alone (started from the file
// manager, not a prompt): its output vanishes with the window unless the program waits.
bool ConsoleOwnedAlone();
