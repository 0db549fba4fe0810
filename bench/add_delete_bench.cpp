// Adding, deleting, restoring, changing a description and moving a record
// rewrite the whole base, so their cost is compared with one durable copy
// of a file of the same size, measured in the same run through the
// engine's own copy routine. The copy's time takes in the removal of the
// copy: a rewrite frees the version it replaces, and on ext4 freeing a
// large file's blocks costs a third of writing them. The peak memory of each operation is measured
// too: it must not grow with the base.
//
// Sizes in MiB: --sizes=1,16,256,1024 (the default) or PICTARIUM_BENCH_SIZES.
// The largest needs about 5 GB of free disk in the scratch folder
// (PICTARIUM_BENCH_DIR, default the system's temporary folder).

#include "base/file_operations.h"
#include "base/run_errors.h"
#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "bench/size_options.h"
#include "engine/class_dbp.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr std::int64_t MiB = 1024 * 1024;
const QString DefaultSizes = QStringLiteral("1,16,256,1024");

// Records of a realistic photo size; the record added and deleted is small,
// so that the rewrite of the base is what is measured.
constexpr QSize StoredPictureSize(256, 256);
constexpr QSize AddedPictureSize(32, 32);

QString description(std::int32_t index) {
    return QStringLiteral("Photo de famille n° %1").arg(index);
}

struct SizedBase {
    std::int64_t megabytes = 0;
    std::string label;
    QString path;
    QString copyPath;
    int iterations = 1;
};

int iterationsFor(std::int64_t megabytes) {
    if (megabytes <= 1) {
        return 30;
    }
    if (megabytes <= 16) {
        return 10;
    }
    return megabytes <= 256 ? 4 : 3;
}

void checkFreeSpace(const ScratchFolder& folder, const std::vector<std::int64_t>& sizes) {
    if (sizes.empty()) {
        return;
    }
    std::int64_t needed = 0;
    for (const std::int64_t megabytes : sizes) {
        needed += megabytes * MiB;
    }
    // During an add: the base, its backup, the new version and the copy
    // that replaces the base; plus some room to spare.
    needed += 3 * sizes.back() * MiB + 256 * MiB;
    if (folder.freeBytes() < needed) {
        throw std::runtime_error("not enough free disk in " + folder.path().toStdString() + ": " +
                                 std::to_string(needed / MiB) +
                                 " MiB needed; choose smaller --sizes or PICTARIUM_BENCH_DIR");
    }
}

SizedBase makeBase(const ScratchFolder& folder, std::int64_t megabytes,
                   const QByteArray& storedPicture) {
    SizedBase base;
    base.megabytes = megabytes;
    base.label = std::to_string(megabytes) + "MiB";
    base.path = folder.filePath(QString::fromStdString(base.label) + QStringLiteral(".bdp"));
    base.copyPath = folder.filePath(QString::fromStdString(base.label) + QStringLiteral(".copy"));
    base.iterations = iterationsFor(megabytes);
    const std::int32_t count = recordsForSize(megabytes * MiB, storedPicture, description(0));
    writeBase(base.path, count, storedPicture, description);
    std::printf("%s: %d records, %lld bytes\n", base.label.c_str(), count,
                static_cast<long long>(QFileInfo(base.path).size()));
    return base;
}

// One operation timed, and the rise of the peak memory during it.
struct Measure {
    Samples samples;
    std::int64_t peakKiB = 0;

    bool run(const std::function<bool()>& operation) {
        const PeakMemoryWindow window;
        bool done = false;
        samples.time([&] { done = operation(); });
        peakKiB = std::max(peakKiB, window.growthKiB());
        return done;
    }
};

const std::vector<std::string> Operations = {"add", "delete", "restore", "text", "move"};

// One durable copy, then an add, a delete, a restore of the deleted record,
// a new description and a move of the first record to the end in turn, on
// the same base, so that all see the same state of the disk. The record
// added is small, and it leaves the base (and the trash) at the end of the
// round, which brings the base back to its size.
void compareRewrites(benchmark::State& state, const QString& folder, const SizedBase& base) {
    QuietHost host(folder);
    ClassDBP engine(host);
    if (!engine.OpenBDP(base.path)) {
        state.SkipWithError("the base does not open");
        return;
    }
    const QImage picture = makeTestPicture(AddedPictureSize);
    Samples copies;
    std::map<std::string, Measure> measures;
    int round = 0;
    for (auto _ : state) {
        try {
            copies.time([&] {
                copyFile(base.path, base.copyPath, true);
                removeFile(base.copyPath);
            });
        } catch (const RunFailure& failure) {
            state.SkipWithError(
                ("copy failed with error " + std::to_string(failure.number())).c_str());
            return;
        }
        const bool done =
            measures["add"].run([&] { return engine.AddBDP(picture, description(-1)); }) &&
            measures["delete"].run([&] { return engine.DeleteBDP(); }) &&
            measures["restore"].run(
                [&, trashed = engine.TrashBDP()] { return engine.RestoreBDP(trashed); }) &&
            measures["text"].run([&] {
                return engine.ChangeTextsBDP({{0, description(++round)}});
            }) &&
            measures["move"].run(
                [&] { return engine.MoveRecordBDP(0, engine.recordCount() - 1); }) &&
            engine.DeleteRecordsBDP({engine.recordCount() - 1}) && engine.EmptyTrashBDP();
        if (!done) {
            state.SkipWithError(("a rewrite failed: " + host.lastMessage().toStdString()).c_str());
            return;
        }
    }
    state.counters["copy_ms"] = copies.median() * 1e3;
    for (const auto& [operation, measure] : measures) {
        state.counters[operation + "_ms"] = measure.samples.median() * 1e3;
        state.counters[operation + "_peak_KiB"] = static_cast<double>(measure.peakKiB);
    }
}

void registerSize(const SizedBase& base, const QString& folder) {
    benchmark::RegisterBenchmark(
        ("Rewrites/" + base.label).c_str(),
        [&base, folder](benchmark::State& state) { compareRewrites(state, folder, base); })
        ->Iterations(base.iterations)
        ->Unit(benchmark::kMillisecond);
}

void printSummary(const RecordingReporter& results, const std::vector<SizedBase>& bases) {
    TargetSummary summary(
        "Rewrite targets (median times, taken in turn in the same run): add, delete, restore "
        "of the deleted record, a new description, the first record moved to the end");
    for (const SizedBase& base : bases) {
        const std::string& label = base.label;
        const std::string name = "Rewrites/" + label;
        const auto copy = results.counter(name, "copy_ms");
        summary.figure(label + ": one durable copy", copy, "ms");
        // The aim is 1.3 times a copy from 16 MiB up; below, the fixed costs
        // of a rewrite weigh more.
        const bool aimed = base.megabytes >= 16;
        for (const std::string& operation : Operations) {
            const auto time = results.counter(name, operation + "_ms");
            summary.figure(label + ": " + operation, time, "ms");
            summary.ratioAtMost(label + ": " + operation + " / copy", time, copy,
                                aimed ? 1.3 : (operation == "add" ? 3.5 : 2.5));
            summary.figure(label + ": peak memory rise during " + operation,
                           results.counter(name, operation + "_peak_KiB"), "KiB");
        }
    }
    if (bases.size() >= 2) {
        // Memory must not follow the base's size: the largest base may use
        // at most a few MiB more than the smallest, whatever their ratio.
        constexpr double AllowedRiseKiB = 4096.0;
        const std::string smallest = "Rewrites/" + bases.front().label;
        const std::string largest = "Rewrites/" + bases.back().label;
        for (const std::string& operation : Operations) {
            const std::string counter = operation + "_peak_KiB";
            const auto small = results.counter(smallest, counter);
            const auto large = results.counter(largest, counter);
            const auto rise =
                small && large ? std::optional<double>(*large - *small) : std::nullopt;
            summary.atMost(
                operation + " peak, " + bases.back().label + " minus " + bases.front().label, rise,
                AllowedRiseKiB, "KiB");
        }
    }
    summary.print();
}

int run(int argc, char** argv) {
    const std::vector<std::int64_t> sizes =
        parseSizes(takeOption(argc, argv, "--sizes=", "PICTARIUM_BENCH_SIZES", DefaultSizes));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    checkFreeSpace(folder, sizes);
    const QByteArray storedPicture = storedPictureBytes(makeTestPicture(StoredPictureSize));
    std::vector<SizedBase> bases;
    bases.reserve(sizes.size());
    for (const std::int64_t megabytes : sizes) {
        bases.push_back(makeBase(folder, megabytes, storedPicture));
    }
    for (const SizedBase& base : bases) {
        registerSize(base, folder.path());
    }
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results, bases);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("add_delete_bench", pictarium::bench::run, argc, argv);
}
