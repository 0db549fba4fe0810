// Reading pictures: a 24-megapixel camera JPEG through the picture reader
// against Qt's own QImageReader decode of the same file, taken in turn in
// the same run; the peak memory of reading and adding such a picture to a
// base; and, for information, its export as BMP and JPEG and the reading
// of a picture at the 100-megapixel limit.

#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/scratch_folder.h"
#include "engine/class_dbp.h"
#include "imaging/picture_reader.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr QSize CameraSize(6000, 4000);   // 24 megapixels
constexpr QSize LimitSize(10240, 10240);  // the largest picture that loads
constexpr int Rounds = 7;
constexpr double ReadRatioLimit = 1.5;
constexpr double PeakMultipleLimit = 3.0;  // of the picture's 32-bit bitmap

QString writeJpeg(const ScratchFolder& folder, const QString& name, QSize size) {
    const QString path = folder.filePath(name);
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(photoLikePicture(size))) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return path;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Read>
double timedMilliseconds(Read read) {
    QElapsedTimer timer;
    timer.start();
    read();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Both readers in turn, so that a slower moment of the machine hits both.
void compareJpegReads(benchmark::State& state, const QString& path) {
    std::vector<double> qtTimes;
    std::vector<double> readerTimes;
    for (auto _ : state) {
        qtTimes.push_back(timedMilliseconds([&] {
            QImageReader reader(path);
            const QImage picture = reader.read();
            benchmark::DoNotOptimize(picture.constBits());
        }));
        readerTimes.push_back(timedMilliseconds([&] {
            const PictureReading reading = readPictureFile(path);
            if (reading.outcome != PictureReading::Outcome::Loaded) {
                state.SkipWithError("the picture reader refused the JPEG");
            }
            benchmark::DoNotOptimize(reading.picture.constBits());
        }));
    }
    state.counters["qt_ms"] = median(qtTimes);
    state.counters["reader_ms"] = median(readerTimes);
}

// Reading the file and adding it to a base, as the add command does.
void measureReadAndAdd(benchmark::State& state, const ScratchFolder& folder, const QString& path) {
    std::int64_t peakKiB = 0;
    for (auto _ : state) {
        QuietHost host(folder.path());
        ClassDBP base(host);
        const QString basePath = folder.filePath(QStringLiteral("photos.bdp"));
        QFile::remove(basePath);
        if (!base.CreateBDP(basePath) || !base.OpenBDP(basePath)) {
            state.SkipWithError("cannot create the base");
            return;
        }
        const PeakMemoryWindow window;
        {
            const PictureReading reading = readPictureFile(path);
            if (!base.AddBDP(reading.picture, QStringLiteral("Photo d'appareil"))) {
                state.SkipWithError("the add failed");
                return;
            }
        }
        peakKiB = std::max(peakKiB, window.growthKiB());
    }
    state.counters["peak_KiB"] = double(peakKiB);
}

// The export of the picture on show, as "Enregistrer sous..." does it.
void measureExport(benchmark::State& state, const ScratchFolder& folder, const QString& path) {
    const QImage picture = readPictureFile(path).picture;
    QuietHost host(folder.path());
    ClassDBP base(host);
    std::vector<double> bitmapTimes;
    std::vector<double> jpegTimes;
    const QString bitmapPath = folder.filePath(QStringLiteral("export.bmp"));
    const QString jpegPath = folder.filePath(QStringLiteral("export.jpg"));
    for (auto _ : state) {
        bitmapTimes.push_back(timedMilliseconds([&] { base.SaveFileInDsk(picture, bitmapPath); }));
        jpegTimes.push_back(timedMilliseconds([&] { base.SaveFileInDsk(picture, jpegPath); }));
    }
    state.counters["bmp_ms"] = median(bitmapTimes);
    state.counters["jpg_ms"] = median(jpegTimes);
    state.counters["jpg_percent_of_bmp"] =
        100.0 * double(QFileInfo(jpegPath).size()) / double(QFileInfo(bitmapPath).size());
}

void measureLimitRead(benchmark::State& state, const QString& path) {
    std::int64_t peakKiB = 0;
    for (auto _ : state) {
        const PeakMemoryWindow window;
        const PictureReading reading = readPictureFile(path);
        if (reading.picture.size() != LimitSize) {
            state.SkipWithError("the 100-megapixel picture did not load");
            return;
        }
        peakKiB = std::max(peakKiB, window.growthKiB());
    }
    state.counters["peak_KiB"] = double(peakKiB);
}

void printSummary(const RecordingReporter& results) {
    const double bitmapKiB = double(CameraSize.width()) * CameraSize.height() * 4 / 1024;
    TargetSummary summary("Picture reading targets (24-megapixel JPEG)");
    const auto qt = results.counter("JpegRead/24MP", "qt_ms");
    const auto reader = results.counter("JpegRead/24MP", "reader_ms");
    summary.figure("Qt's QImageReader decode", qt, "ms");
    summary.figure("picture reader", reader, "ms");
    summary.ratioAtMost("picture reader / QImageReader", reader, qt, ReadRatioLimit);
    summary.atMost("peak memory of reading and adding",
                   results.counter("ReadAndAdd/24MP", "peak_KiB"), PeakMultipleLimit * bitmapKiB,
                   "KiB");
    summary.figure("export as BMP", results.counter("Export/24MP", "bmp_ms"), "ms");
    summary.figure("export as JPEG", results.counter("Export/24MP", "jpg_ms"), "ms");
    summary.figure("JPEG file size, of the BMP's",
                   results.counter("Export/24MP", "jpg_percent_of_bmp"), "%");
    summary.figure("peak memory of reading a 100-megapixel JPEG",
                   results.counter("LimitRead/100MP", "peak_KiB"), "KiB");
    summary.print();
}

int run(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    const QString camera = writeJpeg(folder, QStringLiteral("camera.jpg"), CameraSize);
    const QString limit = writeJpeg(folder, QStringLiteral("limit.jpg"), LimitSize);

    benchmark::RegisterBenchmark("JpegRead/24MP",
                                 [&](benchmark::State& state) { compareJpegReads(state, camera); })
        ->Iterations(Rounds)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "ReadAndAdd/24MP",
        [&](benchmark::State& state) { measureReadAndAdd(state, folder, camera); })
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "Export/24MP", [&](benchmark::State& state) { measureExport(state, folder, camera); })
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LimitRead/100MP",
                                 [&](benchmark::State& state) { measureLimitRead(state, limit); })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);

    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("imaging_bench", pictarium::bench::run, argc, argv);
}
