#include "bench/run_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <utility>

namespace pictarium::bench {

namespace {

std::string fixed(double value, int precision) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(precision) << value;
    return text.str();
}

std::optional<double> divide(std::optional<double> numerator, std::optional<double> denominator) {
    if (!numerator || !denominator || *denominator <= 0.0) {
        return std::nullopt;
    }
    return *numerator / *denominator;
}

}  // namespace

void RecordingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.run_type == Run::RT_Iteration) {
            mRuns.insert_or_assign(name, run);
        } else if (run.aggregate_name == "median") {
            mMedians.insert_or_assign(name, run);
        }
    }
}

const RecordingReporter::Run* RecordingReporter::find(const std::string& name) const {
    for (const auto* runs : {&mMedians, &mRuns}) {
        const auto found = runs->find(name);
        if (found != runs->end()) {
            return found->second.error_occurred ? nullptr : &found->second;
        }
    }
    return nullptr;
}

std::optional<double> RecordingReporter::seconds(const std::string& name, Clock clock) const {
    const Run* run = find(name);
    if (run == nullptr) {
        return std::nullopt;
    }
    const double time =
        clock == Clock::Real ? run->GetAdjustedRealTime() : run->GetAdjustedCPUTime();
    return time / benchmark::GetTimeUnitMultiplier(run->time_unit);
}

std::optional<double> RecordingReporter::counter(const std::string& name,
                                                 const std::string& counterName) const {
    const Run* run = find(name);
    if (run == nullptr) {
        return std::nullopt;
    }
    const auto value = run->counters.find(counterName);
    if (value == run->counters.end()) {
        return std::nullopt;
    }
    return value->second.value;
}

TargetSummary::TargetSummary(std::string title) : mTitle(std::move(title)) {}

void TargetSummary::ratioAtMost(const std::string& label, std::optional<double> numerator,
                                std::optional<double> denominator, double limit) {
    const auto ratio = divide(numerator, denominator);
    add(label, ratio, 2, "x", "<= " + fixed(limit, 2) + " x",
        ratio ? std::optional<bool>(*ratio <= limit) : std::nullopt);
}

void TargetSummary::ratioNear(const std::string& label, std::optional<double> numerator,
                              std::optional<double> denominator, double tolerance) {
    const auto ratio = divide(numerator, denominator);
    add(label, ratio, 3, "x", "1 +/- " + fixed(tolerance * 100.0, 0) + " %",
        ratio ? std::optional<bool>(std::abs(*ratio - 1.0) <= tolerance) : std::nullopt);
}

void TargetSummary::atMost(const std::string& label, std::optional<double> value, double limit,
                           const std::string& unit) {
    add(label, value, 3, unit, "<= " + fixed(limit, 2) + " " + unit,
        value ? std::optional<bool>(*value <= limit) : std::nullopt);
}

void TargetSummary::figure(const std::string& label, std::optional<double> value,
                           const std::string& unit) {
    mLines.push_back({label, value ? fixed(*value, 1) + " " + unit : "not measured", "", ""});
}

void TargetSummary::add(const std::string& label, std::optional<double> value, int precision,
                        const std::string& unit, const std::string& target,
                        std::optional<bool> met) {
    const std::string figure = value ? fixed(*value, precision) + " " + unit : "not measured";
    const std::string verdict = met ? (*met ? "met" : "MISSED") : "MISSING";
    if (!met || !*met) {
        ++mMissed;
    }
    mLines.push_back({label, figure, target, verdict});
}

int TargetSummary::print() const {
    std::size_t labelWidth = 0;
    std::size_t figureWidth = 0;
    for (const Line& line : mLines) {
        labelWidth = std::max(labelWidth, line.label.size());
        figureWidth = std::max(figureWidth, line.figure.size());
    }
    std::printf("\n%s\n", mTitle.c_str());
    for (const Line& line : mLines) {
        std::printf("  %-*s  %*s  %-14s %s\n", static_cast<int>(labelWidth), line.label.c_str(),
                    static_cast<int>(figureWidth), line.figure.c_str(), line.target.c_str(),
                    line.verdict.c_str());
    }
    std::printf("%s\n", mMissed == 0 ? "All targets met." : "Some targets were missed.");
    std::fflush(stdout);
    return mMissed;
}

int runProgram(const char* name, int (*body)(int, char**), int argc, char** argv) {
    try {
        const int status = body(argc, argv);
        benchmark::Shutdown();
        return status;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", name, failure.what());
        return 1;
    }
}

}  // namespace pictarium::bench
