// kernel32 substitute: the end of the process, observable by tests.
#pragma once

#include "win_types.h"

// Calls the handler a test installed, if any; then (no handler, or one that returned) flushes
// stdio, prints "ExitProcess(N)" on stderr and ends the process with _exit(N), skipping static
// destructors and atexit handlers as Windows' process end skips the C runtime's.
[[noreturn]] void ExitProcess(UINT exitCode);

namespace substitute {

// Test control: null removes the handler. It may end the process itself, throw or longjmp.
void SetExitProcessHandler(void (*handler)(UINT exitCode));

}  // namespace substitute
