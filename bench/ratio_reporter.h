// Console reporter that also remembers each benchmark's time, so pairs measured in the same
// run can be printed as "ratio NAME VALUE" (library time over baseline time).
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints one line per pair whose two benchmarks both ran; false when any is missing.
    bool PrintRatios(const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>&
                         ratios) const;

private:
    std::map<std::string, double> nanosPerIteration_;
};

// Runs every benchmark with the reporter, then prints the ratios. Returns the exit status.
// Colour follows --benchmark_color (true/false/auto); auto, the default, colours a terminal
// only, so that output in files and pipes holds no escapes.
int RunBenchmarksWithRatios(
    int argc, char** argv,
    const std::vector<std::pair<std::string, std::pair<std::string, std::string>>>& ratios);
