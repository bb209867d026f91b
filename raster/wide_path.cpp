#include "wide_path.h"

bool WidePathFromBytes(const char* path, WCHAR* wide, int units) {
    // Without MB_ERR_INVALID_CHARS the UTF-8 attempt never fails: since Vista it turns bytes that
    // are not UTF-8 into U+FFFD, and the ANSI paths the game builds would open no file.
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, units) != 0 ||
           MultiByteToWideChar(CP_ACP, 0, path, -1, wide, units) != 0;
}
