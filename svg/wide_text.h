// Comparing the UTF-16 strings Direct2D hands back with the names the renderer looks for.
#pragma once

#include "../platform/platform.h"

// True when both zero-terminated strings hold the same code units.
inline bool SameWideText(const WCHAR* a, const WCHAR* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}
