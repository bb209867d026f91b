// example_plugin.cpp - a plug-in that loads a texture through Ombrix, using ombrix.h alone.
//
// Build it as a 32-bit DLL for your game (here Vice City):
//   i686-w64-mingw32-g++ -shared -O2 -DEXAMPLE_GAME=\"VC\" example_plugin.cpp -o example.asi -static
//
// A real plug-in calls Ombrix from its own hook after the game has started RenderWare. This
// example exports that step as ExampleLoadTexture, so that a test (or your own code) can call
// it once the engine runs; it takes the same arguments as LoadPNGToRwTexture.
#include "ombrix.h"

#ifndef EXAMPLE_GAME
#define EXAMPLE_GAME "VC"
#endif

namespace {

OmbrixLoadPNGToRwTexture loadPng = nullptr;

bool BindOmbrix() {
    if (loadPng) return true;
    HMODULE ombrix = OmbrixFindModule(EXAMPLE_GAME);
    if (!ombrix) {
        // Tell the player what is missing rather than leaving the icons blank without a word.
        MessageBoxA(nullptr, "This mod needs Ombrix." EXAMPLE_GAME ".asi in the scripts folder.",
                    "Example plug-in", MB_ICONERROR);
        return false;
    }
    loadPng = reinterpret_cast<OmbrixLoadPNGToRwTexture>(GetProcAddress(ombrix, OMBRIX_LOAD_PNG));
    return loadPng != nullptr;
}

}  // namespace

// Main thread, engine started. The texture is the caller's: RwTextureDestroy it before the
// game shuts RenderWare down.
extern "C" __declspec(dllexport) RwTexture* __cdecl ExampleLoadTexture(const char* filePath, unsigned int width,
                                                                       unsigned int height, unsigned int useMipmaps,
                                                                       unsigned int maxMipLevels) {
    return BindOmbrix() ? loadPng(filePath, width, height, useMipmaps, maxMipLevels) : nullptr;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
