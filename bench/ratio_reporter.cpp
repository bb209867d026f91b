#include "ratio_reporter.h"

#include <cstdio>

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

int RunBenchmarksWithRatios(
    int argc, char** argv,
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& ratios) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.PrintRatios(ratios) ? 0 : 1;
}
