// Loading and unloading do no work: every export call does its own.
#include "../platform/platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
