// A search over a large base that sits in the page cache: the whole range is
// scanned when nothing matches, forwards and backwards, and once with the
// only hit in the last record, which is then shown.

#include "bench/base_writer.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/scratch_folder.h"
#include "engine/class_dbp.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace pictarium::bench {

namespace {

constexpr std::int32_t RecordCount = 100000;
constexpr double TargetSeconds = 0.25;
constexpr QSize PictureSize(8, 8);

const QString Missing = QStringLiteral("Introuvable");
const QString OnlyInLastRecord = QStringLiteral("Zèbre");
const QString NoMatchMessage = QStringLiteral("Aucun élément trouvé !");

QString description(std::int32_t index) {
    if (index == RecordCount - 1) {
        return QStringLiteral("Le zèbre du parc, photo %1").arg(index);
    }
    return QStringLiteral("Vacances d'été à la plage, photo %1").arg(index);
}

// Reads the whole file once, so that the search finds it in the page cache.
void warmPageCache(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    while (!file.read(1 << 20).isEmpty()) {
    }
}

struct OpenBase {
    OpenBase(const QString& folder, const QString& base) : host(folder), engine(host) {
        opened = engine.OpenBDP(base);
    }
    QuietHost host;
    ClassDBP engine;
    bool opened = false;
};

void searchWithoutMatch(benchmark::State& state, const QString& folder, const QString& base,
                        bool backwards) {
    OpenBase open(folder, base);
    if (!open.opened || (backwards && !open.engine.MoveEnd())) {
        state.SkipWithError("the base does not open");
        return;
    }
    for (auto _ : state) {
        if (open.engine.SearchBDP(Missing, backwards) ||
            open.host.lastMessage() != NoMatchMessage) {
            state.SkipWithError("the search did not scan the whole base");
            break;
        }
    }
}

void searchToLastRecord(benchmark::State& state, const QString& folder, const QString& base) {
    OpenBase open(folder, base);
    if (!open.opened) {
        state.SkipWithError("the base does not open");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        open.engine.MoveFirst();
        state.ResumeTiming();
        if (!open.engine.SearchBDP(OnlyInLastRecord) ||
            open.engine.currentIndex() != RecordCount - 1) {
            state.SkipWithError("the search did not find the last record");
            break;
        }
    }
}

int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    const QString base = folder.filePath(QStringLiteral("search.bdp"));
    writeBase(base, RecordCount, storedPictureBytes(makeTestPicture(PictureSize)), description);
    warmPageCache(base);

    const QString programFolder = folder.path();
    const auto registerSearch = [](const char* name, auto search) {
        benchmark::RegisterBenchmark(name, search)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
    };
    registerSearch("Search forwards, no match", [&](benchmark::State& state) {
        searchWithoutMatch(state, programFolder, base, false);
    });
    registerSearch("Search backwards, no match", [&](benchmark::State& state) {
        searchWithoutMatch(state, programFolder, base, true);
    });
    registerSearch("Search forwards, hit in the last record", [&](benchmark::State& state) {
        searchToLastRecord(state, programFolder, base);
    });

    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);

    TargetSummary summary("Search over " + std::to_string(RecordCount) +
                          " records (base in the page cache)");
    for (const std::string name : {"Search forwards, no match", "Search backwards, no match",
                                   "Search forwards, hit in the last record"}) {
        summary.atMost(name + ", real time", results.seconds(name), TargetSeconds, "s");
        summary.atMost(name + ", processor time",
                       results.seconds(name, RecordingReporter::Clock::Processor), TargetSeconds,
                       "s");
    }
    summary.print();
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("search_bench", pictarium::bench::run, argc, argv);
}
