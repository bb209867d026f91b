// Runs the real Ombrix DLLs' SVG loads under Wine for d2d_trace_test.py, which reads Wine's own
// Direct2D trace of them (WINEDEBUG=+d2d). Linked away from 0x400000, where Wine 10's loader sits
// under the i386 emulator, and without a game image: the loads must end before the first raster
// is made, since the engine's entry points are game addresses that hold nothing here.
//
//     d2d_probe.exe SVG DLL...
//
// Before each load a marker line goes to standard error, in order with Wine's trace lines:
//     d2d_probe: load DLLNAME WxH mipmaps M
// and after it, on standard output and standard error alike:
//     d2d_probe: DLLNAME WxH -> null | texture
// Exit status 0 when every DLL loaded and offered LoadSVGToRwTexture.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "sdk/ombrix.h"

namespace {

struct Request {
    uint32_t width, height, useMipmaps;
};

// The document's own size, one level; then a requested size with its whole chain.
const Request kRequests[] = {{0, 0, 0}, {32, 32, 1}};

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void Say(FILE* to, const char* format, const char* name, const Request& r, const char* rest) {
    std::fprintf(to, format, name, r.width, r.height, rest);
    std::fflush(to);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: d2d_probe SVG DLL...\n");
        return 2;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string name = BaseName(argv[i]);
        HMODULE library = LoadLibraryA(argv[i]);
        FARPROC entry = library ? GetProcAddress(library, OMBRIX_LOAD_SVG) : nullptr;
        if (!entry) {
            std::printf("d2d_probe: %s cannot be loaded or lacks LoadSVGToRwTexture (error %lu)\n",
                        name.c_str(), GetLastError());
            status = 1;
            continue;
        }
        const auto load = reinterpret_cast<OmbrixLoadSVGToRwTexture>(reinterpret_cast<void*>(entry));
        for (const Request& r : kRequests) {
            std::fprintf(stderr, "d2d_probe: load %s %ux%u mipmaps %u\n", name.c_str(), r.width,
                         r.height, r.useMipmaps);
            std::fflush(stderr);
            const char* result = load(argv[1], r.width, r.height, r.useMipmaps, 0) ? "texture"
                                                                                    : "null";
            Say(stderr, "d2d_probe: %s %ux%u -> %s\n", name.c_str(), r, result);
            Say(stdout, "d2d_probe: %s %ux%u -> %s\n", name.c_str(), r, result);
        }
    }
    return status;
}
