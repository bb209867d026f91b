// The one header through which system code reaches Windows, COM and WIC.
// Windows builds get the SDK; host builds get a substitute of exactly the subset used.
#pragma once

#if defined(_WIN32)
#include "windows/windows_api.h"
#else
#include "posix/win_types.h"
#include "posix/kernel32.h"
#include "posix/com.h"
#include "posix/wic.h"
#include "posix/d3d11.h"
#include "posix/dxgi.h"
#include "posix/d2d1.h"
#include "posix/d2d1_svg.h"
#include "posix/shlwapi.h"
#include "posix/kernel32_memory.h"
#include "posix/kernel32_modules.h"
#include "posix/kernel32_process.h"
#include "posix/profile_strings.h"
#include "posix/user32.h"
#endif

#include "com_ptr.h"
