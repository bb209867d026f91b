// Everything happens in static initialisers and the game's own calls: attaching does no work.
#include "../platform/platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
