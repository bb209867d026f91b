// A radio plug-in attached in a process whose main module is this small program rather than the
// game: every game address it probes while it attaches lies beyond this image, where nothing is
// committed. It must come up without reading there (a read would fault inside the loader's
// attach).
//
//   unmapped_probe.exe DLL ADDRESS...
//
// Prints "probe ADDRESS free|reserved|committed" for each game address as it lies in this
// process, then "load ok" or "load failed"; exit status 0 when the DLL loaded.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: unmapped_probe DLL ADDRESS...\n");
        return 2;
    }
    // Game addresses are written for an executable at 0x400000; the plug-in moves them by the
    // main module's base, as this does.
    const uintptr_t base = reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
    for (int i = 2; i < argc; ++i) {
        const uintptr_t address = base + std::strtoul(argv[i], nullptr, 0) - 0x400000;
        MEMORY_BASIC_INFORMATION region{};
        const char* state = "unknown";
        if (VirtualQuery(reinterpret_cast<LPCVOID>(address), &region, sizeof region))
            state = region.State == MEM_FREE      ? "free"
                    : region.State == MEM_RESERVE ? "reserved"
                                                  : "committed";
        std::printf("probe %s %s\n", argv[i], state);
    }
    std::fflush(stdout);
    const HMODULE module = LoadLibraryA(argv[1]);
    std::printf("load %s\n", module ? "ok" : "failed");
    return module ? 0 : 1;
}
