// Recovering a base reads all of it, decodes every picture and writes a new
// base, so its cost is compared with one durable copy of the same base,
// measured in turn in the same run through the engine's own copy routine.
// Three damages: none (every record through the index), the last quarter
// cut off, and the index zeroed (every record found by the scan).
//
// Size in MiB: --size=1024 (the default) or PICTARIUM_BENCH_SIZE. It needs
// about five times that much free disk in the scratch folder
// (PICTARIUM_BENCH_DIR, default the system's temporary folder).

#include "base/binary_file.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "bench/size_options.h"
#include "engine/base_recovery.h"
#include "engine/class_dbp.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace pictarium::bench {

namespace {

constexpr std::int64_t MiB = 1024 * 1024;
constexpr QSize StoredPictureSize(256, 256);
constexpr int Iterations = 3;

QString description(std::int32_t index) {
    return QStringLiteral("Photo de famille n° %1").arg(index);
}

std::int64_t takeSizeOption(int& argc, char** argv) {
    const std::vector<std::int64_t> sizes = parseSizes(
        takeOption(argc, argv, "--size=", "PICTARIUM_BENCH_SIZE", QStringLiteral("1024")));
    if (sizes.size() != 1) {
        throw std::runtime_error("one size is wanted, in MiB");
    }
    return sizes.front();
}

struct Damage {
    std::string label;
    QString path;
};

// The sound base, and copies of it damaged.
std::vector<Damage> makeBases(const ScratchFolder& folder, std::int64_t megabytes) {
    const QByteArray storedPicture = storedPictureBytes(makeTestPicture(StoredPictureSize));
    const std::int32_t count = recordsForSize(megabytes * MiB, storedPicture, description(0));
    const QString sound = folder.filePath(QStringLiteral("sound.bdp"));
    writeBase(sound, count, storedPicture, description);
    const QString cut = folder.filePath(QStringLiteral("cut.bdp"));
    const QString noIndex = folder.filePath(QStringLiteral("no-index.bdp"));
    copyFile(sound, cut, true);
    copyFile(sound, noIndex, true);
    QFile cutFile(cut);
    QFile noIndexFile(noIndex);
    const qint64 size = QFileInfo(sound).size();
    if (!cutFile.resize(size / 4 * 3) || !noIndexFile.open(QIODevice::ReadWrite) ||
        !noIndexFile.seek(8) ||
        noIndexFile.write(QByteArray(qsizetype{16} * count, '\0')) != qint64{16} * count) {
        throw std::runtime_error("cannot damage the copies of the base");
    }
    std::printf("%d records, %lld bytes\n", count, static_cast<long long>(size));
    return {{"sound", sound}, {"last quarter cut", cut}, {"index zeroed", noIndex}};
}

void compareWithCopy(benchmark::State& state, const ScratchFolder& folder, const Damage& damage) {
    const QString copyPath = folder.filePath(QStringLiteral("copy.bdp"));
    const QString newPath = folder.filePath(QStringLiteral("recovered.bdp"));
    Samples copies;
    Samples recoveries;
    std::int64_t peakKiB = 0;
    std::size_t records = 0;
    for (auto _ : state) {
        try {
            copies.time([&] { copyFile(damage.path, copyPath, true); });
            removeFile(copyPath);
        } catch (const RunFailure& failure) {
            state.SkipWithError(
                ("copy failed with error " + std::to_string(failure.number())).c_str());
            return;
        }
        QuietHost host(folder.path());
        ClassDBP engine(host);
        bool written = false;
        {
            const PeakMemoryWindow window;
            recoveries.time([&] {
                const BinaryFile damaged = BinaryFile::openForReading(damage.path);
                const RecoveryReport found = findRecoverableRecords(damaged);
                records = found.records.size();
                written = engine.RecoverBDP(damaged, found, newPath);
            });
            peakKiB = std::max(peakKiB, window.growthKiB());
        }
        if (!written) {
            state.SkipWithError(("recovery failed: " + host.lastMessage().toStdString()).c_str());
            return;
        }
    }
    state.counters["copy_ms"] = copies.median() * 1e3;
    state.counters["recover_ms"] = recoveries.median() * 1e3;
    state.counters["records"] = static_cast<double>(records);
    state.counters["peak_KiB"] = static_cast<double>(peakKiB);
}

void printSummary(const RecordingReporter& results, const std::vector<Damage>& damages) {
    TargetSummary summary("Recovery targets (median times, taken in turn in the same run)");
    for (const Damage& damage : damages) {
        const std::string name = "Recover/" + damage.label;
        const auto copy = results.counter(name, "copy_ms");
        summary.figure(damage.label + ": one durable copy", copy, "ms");
        summary.figure(damage.label + ": recover", results.counter(name, "recover_ms"), "ms");
        summary.figure(damage.label + ": records recovered", results.counter(name, "records"), "");
        summary.ratioAtMost(damage.label + ": recover / copy", results.counter(name, "recover_ms"),
                            copy, 3.0);
        summary.figure(damage.label + ": peak memory rise", results.counter(name, "peak_KiB"),
                       "KiB");
    }
    summary.print();
}

int run(int argc, char** argv) {
    const std::int64_t megabytes = takeSizeOption(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    if (folder.freeBytes() < 5 * megabytes * MiB + 256 * MiB) {
        throw std::runtime_error("not enough free disk in " + folder.path().toStdString());
    }
    const std::vector<Damage> damages = makeBases(folder, megabytes);
    for (const Damage& damage : damages) {
        benchmark::RegisterBenchmark(
            ("Recover/" + damage.label).c_str(),
            [&folder, &damage](benchmark::State& state) { compareWithCopy(state, folder, damage); })
            ->Iterations(Iterations)
            ->Unit(benchmark::kMillisecond);
    }
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results, damages);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("recover_bench", pictarium::bench::run, argc, argv);
}
