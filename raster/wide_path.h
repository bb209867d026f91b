// An 8-bit path as the imaging component's file functions take it: read as UTF-8 first and,
// when that fails, as the ANSI code page.
#pragma once

#include "../platform/platform.h"

// Fills `wide` (room for `units` code units, the terminating zero included); false when the
// path converts neither way or does not fit.
bool WidePathFromBytes(const char* path, WCHAR* wide, int units);
