// ombrix: runs the image library the way a game plug-in would, for image makers.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"

namespace {

const char kUsage[] =
    "usage: ombrix load FILE [--size WxH] [--mipmaps] [--max-levels N] [--out DIR]\n"
    "                  [--fail-lock N] [--dll FILE]\n"
    "       ombrix cache FILE.mipmap\n"
    "       ombrix prepass FILE.svg [--blur]\n"
    "       ombrix icon FILE.svg|FILE.png [--size WxH] --out FILE.png [--grey] [--dll FILE]\n"
    "       ombrix --help\n"
    "--dll (ombrix.exe on Windows): the Ombrix.<game>.asi that loads, instead of the one beside\n"
    "the program or in the game's scripts folder\n";

}  // namespace

int Fail(const std::string& message) {
    std::fprintf(stderr, "ombrix: %s\n%s", message.c_str(), kUsage);
    return 1;
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Fail("no command given");
    std::string command = args.front();
    args.erase(args.begin());
    if (command == "load") return RunLoadCommand(args);
    if (command == "cache") return RunCacheCommand(args);
    if (command == "prepass") return RunPrepassCommand(args);
    if (command == "icon") return RunIconCommand(args);
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return Fail("unknown command '" + command + "'");
}
