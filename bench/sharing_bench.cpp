// What sharing a base costs, and what a huge record costs to work around.
//
// - The check that the base is still the one the engine opened runs before
//   every read: measured through GetInfosBDP (the checks and a short text,
//   an upper bound) next to a MoveNext to a 1-megapixel record.
// - list, verify, search, info and delete of pictarium-cli on a base with a
//   record of almost 2 GiB (a sparse file, no disk used) must read neither
//   it nor its picture: their peak memory is measured in a child process.

#include "bench/base_writer.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "engine/bdp_format.h"
#include "engine/class_dbp.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictarium::bench {

namespace {

constexpr QSize OneMegapixel(1024, 1024);
constexpr std::int32_t Records = 10;
constexpr std::int32_t HugePictureLength = 0x7FFFF000;

QString description(std::int32_t index) {
    return QStringLiteral("Photo de classe %1").arg(index);
}

void compareChecks(benchmark::State& state, const QString& base, const QString& folder) {
    QuietHost host(folder);
    ClassDBP engine(host);
    if (!engine.OpenBDP(base)) {
        state.SkipWithError("the base does not open");
        return;
    }
    Samples moves;
    Samples checks;
    for (auto _ : state) {
        moves.time([&] {
            if (!engine.MoveNext()) {
                engine.MoveFirst();
            }
        });
        checks.time([&] { engine.GetInfosBDP(); });
    }
    state.counters["move_us"] = moves.median() * 1e6;
    state.counters["check_us"] = checks.median() * 1e6;
}

// One record "huge" whose picture is HugePictureLength zero bytes, and one
// small record after it; the file is sparse.
QString writeHugeBase(const ScratchFolder& folder) {
    const QString path = folder.filePath(QStringLiteral("huge.bdp"));
    QByteArray text("huge");
    FlipBytes(text);
    QByteArray small("small");
    FlipBytes(small);
    const std::int32_t smallAt = 8 + 4 + HugePictureLength;
    QByteArray head(8 + 2 * IndexEntrySize, '\0');
    const auto header = encodeHeader(2);
    std::copy(header.begin(), header.end(), head.begin());
    const auto first = encodeEntry({12, HugePictureLength, 8, 4});
    const auto second = encodeEntry({smallAt + 5, 60, smallAt, 5});
    std::copy(first.begin(), first.end(), head.begin() + 8);
    std::copy(second.begin(), second.end(), head.begin() + 8 + IndexEntrySize);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write the huge base");
    }
    file.write(head + text);
    file.seek(file.pos() + HugePictureLength);
    file.write(small + QByteArray(60, '\0'));
    return path;
}

// Peak resident memory of one run of the CLI, in MiB; -1 when it failed.
double peakOfCommand(const QStringList& arguments) {
    std::vector<QByteArray> words{QByteArrayLiteral(PICTARIUM_CLI_PATH)};
    for (const QString& argument : arguments) {
        words.push_back(QFile::encodeName(argument));
    }
    std::vector<char*> argv;
    for (QByteArray& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 127) {
        return -1;
    }
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
}

int printSummary(const RecordingReporter& results, const std::vector<double>& peaks,
                 const std::vector<QStringList>& commands) {
    TargetSummary summary("Sharing a base (medians in turn in one run; peaks of child processes)");
    const auto move = results.counter("Checks/1MP", "move_us");
    const auto check = results.counter("Checks/1MP", "check_us");
    summary.figure("MoveNext to a 1 MP record", move, "us");
    summary.figure("freshness check (GetInfosBDP, an upper bound)", check, "us");
    summary.ratioAtMost("check / MoveNext", check, move, 0.01);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const std::optional<double> peak =
            peaks[i] < 0 ? std::nullopt : std::optional<double>(peaks[i]);
        summary.atMost(
            "pictarium-cli " + commands[i].first().toStdString() + ", a 2 GiB record: peak memory",
            peak, 64.0, "MiB");
    }
    return summary.print();
}

int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    const QString base = folder.filePath(QStringLiteral("photos.bdp"));
    writeBase(base, Records, storedPictureBytes(makeTestPicture(OneMegapixel)), description);
    benchmark::RegisterBenchmark(
        "Checks/1MP", [&](benchmark::State& state) { compareChecks(state, base, folder.path()); })
        ->MinTime(2.0)
        ->Unit(benchmark::kMicrosecond);
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);

    const QString huge = writeHugeBase(folder);
    const std::vector<QStringList> commands = {
        {"list", huge},
        {"verify", huge},
        {"search", huge, "small", "--from", "0"},
        {"info", huge, "--at", "1"},
        {"delete", huge, "0"},
    };
    std::vector<double> peaks;
    for (const QStringList& command : commands) {
        peaks.push_back(peakOfCommand(command));
    }
    printSummary(results, peaks, commands);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("sharing_bench", pictarium::bench::run, argc, argv);
}
