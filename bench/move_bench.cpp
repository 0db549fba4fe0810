// How much a move costs, in a small and in a large base, next to decoding
// the same bitmap bytes from memory: a move must not depend on the base's
// size and must add little to the decoding itself.

#include "bench/base_writer.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "engine/class_dbp.h"
#include "imaging/core/bitmap_codec.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <array>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr std::int32_t FewRecords = 10;
constexpr std::int32_t ManyRecords = 10000;

// A small picture, where the engine's own work shows most, up to the
// largest whose 10,000 records stay under the format's 2 GiB.
constexpr std::array<QSize, 3> PictureSizes = {QSize(40, 30), QSize(160, 120), QSize(256, 192)};

struct PictureCase {
    std::string label;
    QByteArray bitmapFile;
    QString fewRecordsBase;
    QString manyRecordsBase;
};

QString description(std::int32_t index) {
    return QStringLiteral("Vacances d'été, photo %1").arg(index);
}

PictureCase makeCase(const ScratchFolder& folder, QSize size) {
    PictureCase pictureCase;
    pictureCase.label = std::to_string(size.width()) + "x" + std::to_string(size.height());
    const QByteArray stored = storedPictureBytes(makeTestPicture(size));
    pictureCase.bitmapFile = rebuiltBitmapFile(stored);
    const QString prefix = QString::fromStdString(pictureCase.label);
    pictureCase.fewRecordsBase = folder.filePath(prefix + QStringLiteral("-few.bdp"));
    pictureCase.manyRecordsBase = folder.filePath(prefix + QStringLiteral("-many.bdp"));
    writeBase(pictureCase.fewRecordsBase, FewRecords, stored, description);
    writeBase(pictureCase.manyRecordsBase, ManyRecords, stored, description);
    return pictureCase;
}

// Shows the next record, or record 0 again after the last: MoveFirst is
// MoveNext from record -1, the same single record read.
void showNextRecord(ClassDBP& engine) {
    if (engine.currentIndex() >= engine.recordCount() - 1) {
        engine.MoveFirst();
    } else {
        engine.MoveNext();
    }
}

// Decodes and moves in turn, so that the four figures see the same machine.
void compareMoves(benchmark::State& state, const PictureCase& pictureCase, const QString& folder) {
    QuietHost fewHost(folder);
    QuietHost manyHost(folder);
    ClassDBP fewRecords(fewHost);
    ClassDBP manyRecords(manyHost);
    if (!fewRecords.OpenBDP(pictureCase.fewRecordsBase) ||
        !manyRecords.OpenBDP(pictureCase.manyRecordsBase)) {
        state.SkipWithError("a base does not open");
        return;
    }
    Samples qtDecodes;
    Samples engineDecodes;
    Samples fewRecordMoves;
    Samples manyRecordMoves;
    bool decoded = true;
    for (auto _ : state) {
        qtDecodes.time([&] {
            QImage picture = QImage::fromData(pictureCase.bitmapFile, "BMP");
            decoded = decoded && !picture.isNull();
            benchmark::DoNotOptimize(picture);
        });
        engineDecodes.time([&] {
            QImage picture = pictureFromBitmapFile(pictureCase.bitmapFile);
            decoded = decoded && !picture.isNull();
            benchmark::DoNotOptimize(picture);
        });
        fewRecordMoves.time([&] { showNextRecord(fewRecords); });
        manyRecordMoves.time([&] { showNextRecord(manyRecords); });
    }
    const long long moves = state.iterations();
    if (!decoded || fewHost.messageCount() != 0 || manyHost.messageCount() != 0 ||
        fewHost.picturesShown() != moves + 1 || manyHost.picturesShown() != moves + 1) {
        state.SkipWithError("a decode or a move did not give its picture");
        return;
    }
    state.counters["qt_decode_us"] = qtDecodes.median() * 1e6;
    state.counters["engine_decode_us"] = engineDecodes.median() * 1e6;
    state.counters["move_10_us"] = fewRecordMoves.median() * 1e6;
    state.counters["move_10000_us"] = manyRecordMoves.median() * 1e6;
}

void registerCase(const PictureCase& pictureCase, const QString& folder) {
    benchmark::RegisterBenchmark(("Moves/" + pictureCase.label).c_str(),
                                 [&pictureCase, folder](benchmark::State& state) {
                                     compareMoves(state, pictureCase, folder);
                                 })
        ->MinTime(2.0)
        ->Unit(benchmark::kMicrosecond);
}

int printSummary(const RecordingReporter& results, const std::vector<PictureCase>& cases) {
    TargetSummary summary("MoveNext targets (median times, all taken in turn in the same run)");
    for (const PictureCase& pictureCase : cases) {
        const std::string& label = pictureCase.label;
        const std::string name = "Moves/" + label;
        const auto decode = results.counter(name, "qt_decode_us");
        const auto few = results.counter(name, "move_10_us");
        const auto many = results.counter(name, "move_10000_us");
        summary.figure(label + ": QImage decode", decode, "us");
        summary.figure(label + ": engine's bitmap reader",
                       results.counter(name, "engine_decode_us"), "us");
        summary.figure(label + ": MoveNext, 10 records", few, "us");
        summary.figure(label + ": MoveNext, 10,000 records", many, "us");
        summary.ratioNear(label + ": MoveNext 10,000 / 10 records", many, few, 0.10);
        summary.ratioAtMost(label + ": MoveNext (10) / QImage decode", few, decode, 1.3);
        summary.ratioAtMost(label + ": MoveNext (10,000) / QImage decode", many, decode, 1.3);
    }
    return summary.print();
}

int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    std::vector<PictureCase> cases;
    cases.reserve(PictureSizes.size());
    for (const QSize& size : PictureSizes) {
        cases.push_back(makeCase(folder, size));
    }
    for (const PictureCase& pictureCase : cases) {
        registerCase(pictureCase, folder.path());
    }
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results, cases);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("move_bench", pictarium::bench::run, argc, argv);
}
