// What the radio plug-in's start costs, in its parts, against the calls any start must make.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace standin {

// The time between two QueryPerformanceCounter readings.
double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to);

// Watches the plug-in's own calls to kernel32 (its import table, patched in this process) so
// that a start can be cut where its settings reads end and where the image library is bound.
void WatchStartParts(HMODULE radio);

// Prints "startup part NAME MS" for the settings file, the library binding, the first icon
// load (which pays for what a start does once) and the other icon loads of the start between
// `before` and `after` (QueryPerformanceCounter ticks).
void PrintStartParts(LARGE_INTEGER before, LARGE_INTEGER after);

// Times, in this process, the calls a warm start cannot do without and prints
// "required calls time MS", with "required part NAME MS" for the parts the start has too: the
// thirteen profile reads of the settings file, then the imaging component's creation and, for
// every icon of the folder, opening it through that component for its size and reading its
// cache file whole. Meant for a process that has not started the plug-in, so that these calls
// pay what they cost a start. `gameFolder` ends in a backslash.
void PrintRequiredCallsTime(const std::string& gameFolder, const char* const* settingsNames,
                            int settingsCount);

}  // namespace standin
