// How much a move costs, in a small and in a large base, next to decoding
// the same bitmap bytes from memory: a move must not depend on the base's
// size and must add little to the decoding itself.

#include "base_writer.h"
#include "bitmap_file.h"
#include "class_dbp.h"
#include "quiet_host.h"
#include "run_summary.h"
#include "scratch_folder.h"

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

void moveThroughBase(benchmark::State& state, const QString& folder, const QString& base) {
    QuietHost host(folder);
    ClassDBP engine(host);
    if (!engine.OpenBDP(base)) {
        state.SkipWithError("the base does not open");
        return;
    }
    const long long shownBefore = host.picturesShown();
    const std::int32_t last = engine.state().RecordCount - 1;
    for (auto _ : state) {
        // At the end, MoveFirst starts again: it is MoveNext from record -1,
        // the same single record read.
        if (engine.state().CurrentIndex >= last) {
            engine.MoveFirst();
        } else {
            engine.MoveNext();
        }
    }
    if (host.picturesShown() - shownBefore != state.iterations() || host.messageCount() != 0) {
        state.SkipWithError("a move did not show its record");
    }
}

template <typename Decoder>
void decodeBitmap(benchmark::State& state, const QByteArray& bitmapFile, Decoder decoder) {
    for (auto _ : state) {
        QImage picture = decoder(bitmapFile);
        benchmark::DoNotOptimize(picture);
        if (picture.isNull()) {
            state.SkipWithError("the bitmap does not decode");
            break;
        }
    }
}

QImage decodeWithQt(const QByteArray& bitmapFile) {
    return QImage::fromData(bitmapFile, "BMP");
}

void registerCase(const PictureCase& pictureCase, const QString& folder) {
    const std::string& label = pictureCase.label;
    benchmark::RegisterBenchmark(("QImage decode/" + label).c_str(), [&pictureCase](
                                                                         benchmark::State& state) {
        decodeBitmap(state, pictureCase.bitmapFile, decodeWithQt);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("Engine decode/" + label).c_str(), [&pictureCase](
                                                                         benchmark::State& state) {
        decodeBitmap(state, pictureCase.bitmapFile, pictureFromBitmapFile);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("MoveNext/" + label + "/10").c_str(),
                                 [&pictureCase, folder](benchmark::State& state) {
                                     moveThroughBase(state, folder, pictureCase.fewRecordsBase);
                                 })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("MoveNext/" + label + "/10000").c_str(),
                                 [&pictureCase, folder](benchmark::State& state) {
                                     moveThroughBase(state, folder, pictureCase.manyRecordsBase);
                                 })
        ->Unit(benchmark::kMicrosecond);
}

int printSummary(const RecordingReporter& results, const std::vector<PictureCase>& cases) {
    TargetSummary summary("MoveNext targets (real time per move, same run)");
    for (const PictureCase& pictureCase : cases) {
        const std::string& label = pictureCase.label;
        const auto few = results.seconds("MoveNext/" + label + "/10");
        const auto many = results.seconds("MoveNext/" + label + "/10000");
        const auto decode = results.seconds("QImage decode/" + label);
        const auto engineDecode = results.seconds("Engine decode/" + label);
        const auto micro = [](std::optional<double> s) {
            return s ? std::optional<double>(*s * 1e6) : std::nullopt;
        };
        summary.figure(label + ": QImage decode", micro(decode), "us");
        summary.figure(label + ": engine's bitmap reader", micro(engineDecode), "us");
        summary.figure(label + ": MoveNext, 10 records", micro(few), "us");
        summary.figure(label + ": MoveNext, 10,000 records", micro(many), "us");
        summary.figure(label + ": MoveNext (10) minus QImage decode",
                       few && decode ? micro(*few - *decode) : std::nullopt, "us");
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
    benchmark::Shutdown();
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    try {
        return pictarium::bench::run(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "move_bench: %s\n", failure.what());
        return 1;
    }
}
