#include "kernel32_process.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<void (*)(UINT)> exitHandler{nullptr};

}  // namespace

void ExitProcess(UINT exitCode) {
    if (auto handler = exitHandler.load()) handler(exitCode);
    std::fflush(nullptr);
    std::fprintf(stderr, "ExitProcess(%u)\n", exitCode);
    _exit(static_cast<int>(exitCode));
}

namespace substitute {

void SetExitProcessHandler(void (*handler)(UINT)) { exitHandler.store(handler); }

}  // namespace substitute
