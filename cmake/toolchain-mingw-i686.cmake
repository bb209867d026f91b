set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# Debian ships the mingw-w64 compilers in two thread models, chosen by update-alternatives
# for the plain names. The win32 model is pinned here: its runtime needs no winpthread, so
# with -static the DLLs import nothing but Windows system DLLs whatever the alternatives say.
# The plain names are the fallback where only one variant is installed.
find_program(OMBRIX_MINGW_GCC NAMES i686-w64-mingw32-gcc-win32 i686-w64-mingw32-gcc REQUIRED)
find_program(OMBRIX_MINGW_GXX NAMES i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++ REQUIRED)
set(CMAKE_C_COMPILER ${OMBRIX_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${OMBRIX_MINGW_GXX})
set(CMAKE_ASM_COMPILER ${OMBRIX_MINGW_GCC})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
