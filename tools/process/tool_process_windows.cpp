#include "tool_process.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <filesystem>

namespace {

constexpr DWORD kLongestPath = 32768;  // what the wide file functions take, in characters

// One argument as the C runtime's command-line parser reads it back: quoted when it holds a
// space, a tab or a quote, backslashes doubled only where a quote follows them.
std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string SystemMessage(DWORD code) {
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

std::string ProgramFolder(const char* argv0) {
    std::string self(kLongestPath, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &self[0], kLongestPath);
    // A name that filled the buffer may have been cut: fall back rather than trust it.
    if (length > 0 && length < kLongestPath) {
        self.resize(length);
        return std::filesystem::path(self).parent_path().string();
    }
    std::error_code ignored;
    return std::filesystem::absolute(argv0, ignored).parent_path().string();
}

int RunProgram(const std::string& program, const std::vector<std::string>& args, std::string& error) {
    std::string line;
    for (const std::string& arg : args) line += (line.empty() ? "" : " ") + QuoteArgument(arg);
    if (line.size() >= kLongestPath) {
        error = "cannot start " + program + ": its command line is longer than Windows takes";
        return -1;
    }
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    // The child writes where this program writes, also when that is a file or a pipe: a console
    // child handed no handles would write to the console window alone.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE standard : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (standard && standard != INVALID_HANDLE_VALUE)
            SetHandleInformation(standard, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    std::fflush(stdout);
    std::fflush(stderr);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        error = "cannot start " + program + ": " + SystemMessage(GetLastError());
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (!known) {
        error = program + ": its exit status cannot be read";
        return -1;
    }
    // Status values that large are exceptions (0xC0000005...), not an exit the program chose.
    if (code > 255) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
        error = program + " ended with exception " + hex;
        return -1;
    }
    return static_cast<int>(code);
}

std::string MakeScratchFolder(const std::string& prefix, std::string& error) {
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) {
        error = "the temporary folder's path cannot be had";
        return "";
    }
    const DWORD seed = GetCurrentProcessId() * 7919u + GetTickCount();
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        const std::string folder = std::string(temp) + prefix + std::to_string(seed + attempt);
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = "cannot make a folder " + folder + ": " + SystemMessage(GetLastError());
            return "";
        }
    }
    error = std::string("cannot make a folder under ") + temp + ": every name tried is taken";
    return "";
}

bool ConsoleOwnedAlone() {
    // Input from a file or a pipe means a script started the program: nobody is there to press Enter.
    DWORD mode = 0;
    DWORD processes[2];
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) && GetConsoleProcessList(processes, 2) == 1;
}
