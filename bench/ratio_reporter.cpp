#include "ratio_reporter.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred)
            nanosPerIteration_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
}

bool RatioReporter::PrintRatios(
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& ratios) const {
    bool complete = true;
    for (const auto& [name, pair] : ratios) {
        auto library = nanosPerIteration_.find(pair.first);
        auto baseline = nanosPerIteration_.find(pair.second);
        if (library == nanosPerIteration_.end() || baseline == nanosPerIteration_.end() ||
            baseline->second <= 0) {
            std::printf("ratio %s missing\n", name.c_str());
            complete = false;
            continue;
        }
        std::printf("ratio %s %.2f\n", name.c_str(), library->second / baseline->second);
    }
    return complete;
}

namespace {

// A reporter passed in ignores --benchmark_color (the library applies it only to its own), so
// the flag is read here, with the library's spellings.
bool ColourWanted(int argc, char** argv) {
    constexpr const char kFlag[] = "--benchmark_color=";
    const char* value = "auto";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) == 0) value = argv[i] + sizeof kFlag - 1;
    if (strcasecmp(value, "auto") == 0) return isatty(STDOUT_FILENO) != 0;
    for (const char* no : {"false", "no", "off", "0", "f", "n"})
        if (strcasecmp(value, no) == 0) return false;
    return true;
}

}  // namespace

int RunBenchmarksWithRatios(
    int argc, char** argv,
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& ratios) {
    const bool colour = ColourWanted(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Whole lines into a pipe, so nothing written to standard error lands inside one.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    RatioReporter reporter(colour ? RatioReporter::OO_ColorTabular : RatioReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.PrintRatios(ratios) ? 0 : 1;
}
