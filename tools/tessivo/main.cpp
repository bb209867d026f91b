// tessivo: the radio strip's tool for players and icon makers.
//
//   tessivo preview --game iii|vc|sa ... --out FILE   what the strip will look like
//   tessivo check GAMEDIR [--exe NAME]                whether the strip can work in a game folder
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"

namespace {

void PrintUsage() {
    std::printf("usage: tessivo COMMAND [ARGUMENTS]\n\n%s\n%s", kPreviewUsage, kCheckUsage);
}

std::string ToolFolder(const char* argv0) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) return std::filesystem::path(std::string(self, static_cast<size_t>(length))).parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

}  // namespace

int ToolError(const std::string& message) {
    std::fprintf(stderr, "tessivo: %s\n", message.c_str());
    return 1;
}

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return ToolError("expected a command: preview or check (tessivo --help tells more)");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage();
        return 0;
    }
    if (command == "preview") return PreviewCommand(rest, ToolFolder(argv[0]));
    if (command == "check") return CheckCommand(rest);
    return ToolError("unknown command '" + command + "': expected preview or check (tessivo --help tells more)");
}
