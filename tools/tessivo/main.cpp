// tessivo: the radio strip's tool for players and icon makers.
//
//   tessivo preview --game iii|vc|sa ... --out FILE   what the strip will look like
//   tessivo check GAMEDIR [--exe NAME]                whether the strip can work in a game folder
//   tessivo GAMEDIR                                   the same check: a folder dropped on the program
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"
#include "tools/process/tool_process.h"

namespace {

void PrintUsage() {
    std::printf("usage: tessivo COMMAND [ARGUMENTS]\n\n%s\n%s", kPreviewUsage, kCheckUsage);
}

int RunCommand(const std::vector<std::string>& args, const char* argv0) {
    if (args.empty()) return ToolError("expected a command: preview or check (tessivo --help tells more)");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage();
        return 0;
    }
    if (command == "preview") return PreviewCommand(rest, ProgramFolder(argv0));
    if (command == "check") return CheckCommand(rest);
    // A game folder dropped on the program arrives as its only argument.
    std::error_code error;
    if (args.size() == 1 && std::filesystem::is_directory(command, error)) return CheckCommand(args);
    return ToolError("unknown command '" + command + "': expected preview or check (tessivo --help tells more)");
}

}  // namespace

int ToolError(const std::string& message) {
    std::fprintf(stderr, "tessivo: %s\n", message.c_str());
    return 1;
}

int main(int argc, char** argv) {
    const int status = RunCommand(std::vector<std::string>(argv + 1, argv + argc), argv[0]);
    // Started from the file manager, the window and the verdict in it would close at once.
    if (ConsoleOwnedAlone()) {
        std::printf("\nPress Enter to close this window.\n");
        std::fflush(stdout);
        std::getchar();
    }
    return status;
}
