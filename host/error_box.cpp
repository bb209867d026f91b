#include "error_box.h"

#include <cstdarg>
#include <cstdio>

#include "../platform/platform.h"

void ShowErrorBox(const char* format, ...) {
    char message[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    MessageBoxA(GetActiveWindow(), message, "plugin-sdk", MB_ICONERROR);
}
