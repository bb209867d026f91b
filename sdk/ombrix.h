/* ombrix.h - calling Ombrix, the image library, from another plug-in.
 *
 * Ombrix.<game>.asi turns a PNG (or any picture Windows' imaging component decodes) or an SVG
 * file into a texture of the game's RenderWare engine, at the picture's own size or at a
 * requested one, with one level or a full mip chain, and keeps the finished chain in a disk
 * cache (a ".mipcache" folder beside the picture) that serves later loads while the file's
 * last-write time and size stay the same.
 *
 * Binding. Do not link against the DLL: find it at run time and take its exports by name
 * with GetProcAddress. Each game has its own build, which calls that game's engine at that
 * game's addresses; use only the one for your game:
 *
 *     III          Ombrix.III.asi
 *     Vice City    Ombrix.VC.asi
 *     San Andreas  Ombrix.SA.asi
 *
 * The plug-in loader has normally loaded it already, from the game folder or scripts\, so ask
 * GetModuleHandleA first, then LoadLibraryA "scripts\\<name>" and "<name>".
 * OmbrixFindModule below does exactly that.
 *
 * Calling convention: cdecl. Arguments go on the stack and the caller removes them; names are
 * undecorated. Every call runs synchronously.
 *
 * Arguments:
 *   width, height   the texture's size; 0 means the picture's own size, each side on its own
 *                   (0 x 64 keeps the picture's width and makes it 64 rows tall).
 *   useMipmaps      only the low byte counts: 0 gives one level; otherwise a full chain of
 *                   floor(log2(max(width, height))) + 1 levels, each half the last (never
 *                   below 1), capped by maxMipLevels.
 *   maxMipLevels    0 means no cap.
 *   The texture's filter mode is 6 (linear between linear mip levels) for a complete chain of
 *   two levels or more, else 2 (linear); the raster carries the engine's mip-map flags when
 *   it has more than one level.
 *
 * Results: a new texture, or NULL for any failure (a missing or unreadable file, a picture
 * that does not decode, the engine refusing a raster). Ombrix shows no message and logs
 * nothing. A level that cannot be filled does not fail the load: the texture comes back with
 * filter mode 2 and nothing is cached.
 *
 * Ownership: the caller owns every texture it gets. Ombrix keeps no reference to it. Destroy
 * it with the engine's RwTextureDestroy, at the latest before the game shuts RenderWare down.
 *
 * Threads: call only from the game's main thread, after the game has started RenderWare (for
 * example from a hook after its start-up call), never while the loader attaches your DLL.
 * Ombrix takes no locks and starts no threads.
 *
 * SVG files need Direct2D's SVG support (Windows 10 version 1703 or later); where it is
 * missing the SVG exports answer NULL.
 */
#ifndef OMBRIX_H
#define OMBRIX_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The game's RenderWare texture; only the engine looks inside. */
typedef struct RwTexture RwTexture;

/* The four exports, by the names to pass to GetProcAddress. */
#define OMBRIX_LOAD_PNG "LoadPNGToRwTexture"
#define OMBRIX_LOAD_SVG "LoadSVGToRwTexture"
#define OMBRIX_FIND_PNG "FindPNGinFolderPath"
#define OMBRIX_FIND_SVG "FindSVGinFolderPath"

/* The file at filePath. */
typedef RwTexture*(__cdecl* OmbrixLoadPNGToRwTexture)(const char* filePath, unsigned int width,
                                                       unsigned int height, unsigned int useMipmaps,
                                                       unsigned int maxMipLevels);
typedef RwTexture*(__cdecl* OmbrixLoadSVGToRwTexture)(const char* filePath, unsigned int width,
                                                       unsigned int height, unsigned int useMipmaps,
                                                       unsigned int maxMipLevels);
/* folderPath joined with fileName: a "\\" between them unless folderPath ends with "\\" or
 * "/", and ".png" (or ".svg") after them unless the name ends so already, in any case. */
typedef RwTexture*(__cdecl* OmbrixFindPNGinFolderPath)(const char* folderPath, const char* fileName,
                                                        unsigned int width, unsigned int height,
                                                        unsigned int useMipmaps, unsigned int maxMipLevels);
typedef RwTexture*(__cdecl* OmbrixFindSVGinFolderPath)(const char* folderPath, const char* fileName,
                                                        unsigned int width, unsigned int height,
                                                        unsigned int useMipmaps, unsigned int maxMipLevels);

/* The module of Ombrix.<build>.asi, build being "III", "VC" or "SA": already loaded, or
 * loaded from scripts\ or the game folder; NULL when there is none. The module stays loaded
 * for the life of the game: do not free it while you hold its textures. */
static inline HMODULE OmbrixFindModule(const char* build) {
    char name[64], path[80];
    HMODULE module;
    if (lstrlenA(build) > 16) return NULL;
    wsprintfA(name, "Ombrix.%s.asi", build);
    module = GetModuleHandleA(name);
    if (!module) {
        wsprintfA(path, "scripts\\%s", name);
        module = LoadLibraryA(path);
    }
    return module ? module : LoadLibraryA(name);
}

#ifdef __cplusplus
}
#endif

#endif /* OMBRIX_H */
