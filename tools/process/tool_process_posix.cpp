#include "tool_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

std::string ProgramFolder(const char* argv0) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0)
        return std::filesystem::path(std::string(self, static_cast<size_t>(length))).parent_path().string();
    std::error_code ignored;
    return std::filesystem::absolute(argv0, ignored).parent_path().string();
}

int RunProgram(const std::string& program, const std::vector<std::string>& args, std::string& error) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (const int failed = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ)) {
        error = "cannot start " + program + ": " + std::strerror(failed);
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    error = program + " ended by signal " + std::to_string(WTERMSIG(status));
    return -1;
}

std::string MakeScratchFolder(const std::string& prefix, std::string& error) {
    const char* temp = std::getenv("TMPDIR");
    const std::string templ = (temp && *temp ? std::string(temp) : std::string("/tmp")) + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(templ.begin(), templ.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        error = "cannot make a folder " + templ + ": " + std::strerror(errno);
        return "";
    }
    return buffer.data();
}

bool ConsoleOwnedAlone() { return false; }
