#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pictarium::bench {

// The console reporter, keeping every result so that ratios between
// benchmarks of the same run can be printed at the end. With
// --benchmark_repetitions, the median of the repetitions is kept.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Real time suits work that waits for the disk. Work done in memory is
    // better compared by processor time (the kernel's share included),
    // which other programs on a busy machine do not inflate.
    enum class Clock { Real, Processor };

    // Time per iteration in seconds of the benchmark registered as `name`;
    // nothing when it did not run or failed.
    [[nodiscard]] std::optional<double> seconds(const std::string& name,
                                                Clock clock = Clock::Real) const;
    [[nodiscard]] std::optional<double> counter(const std::string& name,
                                                const std::string& counterName) const;

private:
    [[nodiscard]] const Run* find(const std::string& name) const;

    std::map<std::string, Run> mRuns;
    std::map<std::string, Run> mMedians;
};

// The closing table: one line per target, with the figure, the limit and
// whether it was met.
class TargetSummary {
public:
    explicit TargetSummary(std::string title);

    // numerator / denominator must be at most `limit`.
    void ratioAtMost(const std::string& label, std::optional<double> numerator,
                     std::optional<double> denominator, double limit);
    // numerator / denominator must lie within `tolerance` of 1.
    void ratioNear(const std::string& label, std::optional<double> numerator,
                   std::optional<double> denominator, double tolerance);
    void atMost(const std::string& label, std::optional<double> value, double limit,
                const std::string& unit);
    // A figure shown for information, with no limit.
    void figure(const std::string& label, std::optional<double> value, const std::string& unit);

    // Prints the table; the number of targets missed or not measured.
    int print() const;

private:
    struct Line {
        std::string label;
        std::string figure;
        std::string target;
        std::string verdict;
    };
    void add(const std::string& label, std::optional<double> value, int precision,
             const std::string& unit, const std::string& target, std::optional<bool> met);

    std::string mTitle;
    std::vector<Line> mLines;
    int mMissed = 0;
};

// Runs a benchmark program's body, then lets the benchmark library go: a
// failure that escapes it becomes a message on standard error and the exit
// status 1.
int runProgram(const char* name, int (*body)(int, char**), int argc, char** argv);

}  // namespace pictarium::bench
