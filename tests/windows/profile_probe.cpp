// The profile cases (tests/platform/profile_cases.h) through Windows' own kernel32: run under
// Wine by profile_probe.py, in one process for all cases. Prints one line per case and a
// summary; exit status 0 when every case held.
//
//     profile_probe.exe FOLDER    (an empty scratch folder, as a Windows path)
#include <cstdio>
#include <string>

#include "tests/platform/profile_cases.h"

namespace {

int passed = 0;
int failed = 0;

void Report(const char* kind, const char* group, const char* name, const std::string& detail) {
    if (detail.empty()) {
        ++passed;
        std::printf("ok   %s %s/%s\n", kind, group, name);
    } else {
        ++failed;
        std::printf("FAIL %s %s/%s: %s\n", kind, group, name, detail.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: profile_probe FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using namespace profile_cases;
    for (size_t i = 0; i < sizeof kReadCases / sizeof kReadCases[0]; ++i)
        Report("read", kReadCases[i].group, kReadCases[i].name, RunReadCase(kReadCases[i], i, folder));
    for (size_t i = 0; i < sizeof kWriteCases / sizeof kWriteCases[0]; ++i)
        Report("write", kWriteCases[i].group, kWriteCases[i].name, RunWriteCase(kWriteCases[i], i, folder));
    std::printf("profile cases: %d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed ? 1 : 0;
}
