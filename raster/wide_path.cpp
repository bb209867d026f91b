#include "wide_path.h"

bool WidePathFromBytes(const char* path, WCHAR* wide, int units) {
    return MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, units) != 0 ||
           MultiByteToWideChar(CP_ACP, 0, path, -1, wide, units) != 0;
}
