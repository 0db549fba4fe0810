// The window's two speed targets, each measured next to what it is
// compared with, in turn, in the same run:
// - from starting the program to the first paint of the display box, with
//   a default base of one record and of about 1 GB, next to the same for a
//   program with no base. The program is this one, started again as a
//   child that does what pictarium's main does and reports the moment of
//   its first paint;
// - one forward click on a base of 1-megapixel pictures (read, decode,
//   draw), next to decoding that record's bitmap alone.

#include "bench/base_writer.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "bench/window/counting_message_boxes.h"
#include "bench/window/program_folder.h"
#include "window/french_translations.h"
#include "window/main_dialog.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr QSize MegapixelPicture(1000, 1000);
constexpr std::int64_t LargeBaseBytes = std::int64_t{1} << 30;
constexpr std::int32_t BrowsedRecords = 20;
constexpr int ProgramStarts = 20;
const QString FirstPaintOption = QStringLiteral("--first-paint=");

// Tells when a widget has been painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

QString description(std::int32_t index) {
    return QStringLiteral("Photo de vacances numéro %1").arg(index);
}

struct StartedWindow {
    std::unique_ptr<MainDialog> window;
    CountingMessageBoxes* boxes = nullptr;
};

StartedWindow createWindow(const QString& folder) {
    WindowSetup setup;
    setup.folders = {withSeparator(folder), withSeparator(folder), withSeparator(folder) + "trash",
                     withSeparator(folder) + "thumbnails"};
    auto boxes = std::make_unique<CountingMessageBoxes>();
    StartedWindow started;
    started.boxes = boxes.get();
    setup.messageBoxes = std::move(boxes);
    started.window = std::make_unique<MainDialog>(std::move(setup));
    return started;
}

// Creates and shows a window, and waits for the display box's first paint.
StartedWindow startToFirstPaint(const QString& folder) {
    PaintWatch watch;
    StartedWindow started = createWindow(folder);
    QWidget* display = started.window->findChild<QWidget*>(QStringLiteral("PicShow"));
    display->installEventFilter(&watch);
    started.window->show();
    while (!watch.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    display->removeEventFilter(&watch);
    return started;
}

struct Bases {
    QString emptyFolder;
    QString oneRecordFolder;
    QString largeFolder;
    QString browsedFolder;
    QByteArray firstBitmapFile;  // the bitmap every record of every base holds
};

Bases makeBases(const ScratchFolder& scratch) {
    const QByteArray stored = storedPictureBytes(makeTestPicture(MegapixelPicture));
    Bases bases;
    bases.firstBitmapFile = rebuiltBitmapFile(stored);
    const QString oneRecord = scratch.filePath(QStringLiteral("one.bdp"));
    const QString large = scratch.filePath(QStringLiteral("large.bdp"));
    const QString browsed = scratch.filePath(QStringLiteral("browsed.bdp"));
    writeBase(oneRecord, 1, stored, description);
    writeBase(large, recordsForSize(LargeBaseBytes, stored, description(0)), stored, description);
    writeBase(browsed, BrowsedRecords, stored, description);
    bases.emptyFolder = programFolderFor(scratch, QStringLiteral("empty"), QString());
    bases.oneRecordFolder = programFolderFor(scratch, QStringLiteral("one"), oneRecord);
    bases.largeFolder = programFolderFor(scratch, QStringLiteral("large"), large);
    bases.browsedFolder = programFolderFor(scratch, QStringLiteral("browsed"), browsed);
    return bases;
}

bool showsPicture(const StartedWindow& started) {
    return started.boxes->shown == 0 && !started.window->drawnPictureRect().isEmpty();
}

// Processor time of this process so far, the loading of its libraries included.
double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::int64_t monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The child: pictarium's start-up with `folder` as its program folder. It
// prints when the display box was first painted, on the clock every
// process shares, the processor time it took, whether a picture was drawn
// and how many messages were shown.
int firstPaintChild(int argc, char** argv, const QString& folder) {
    QApplication application(argc, argv);
    const auto translator = installFrenchTranslations();
    const StartedWindow started = startToFirstPaint(folder);
    const std::int64_t paintedAt = monotonicNanoseconds();
    std::printf("%lld %.6f %d %d\n", static_cast<long long>(paintedAt), processorSeconds(),
                started.window->drawnPictureRect().isEmpty() ? 0 : 1, started.boxes->shown);
    return 0;
}

struct FirstPaint {
    double seconds = -1;           // from starting the child; negative on failure
    double processorSeconds = -1;  // the child's own processor time until then
};

// Starts the child and reads its report; a failure when it did not run or
// did not show what `withPicture` says.
FirstPaint startChildToFirstPaint(const QString& folder, bool withPicture) {
    QProcess child;
    const std::int64_t startedAt = monotonicNanoseconds();
    child.start(QCoreApplication::applicationFilePath(), {FirstPaintOption + folder});
    if (!child.waitForFinished(30000) || child.exitCode() != 0) {
        return {};
    }
    const QList<QByteArray> report = child.readAllStandardOutput().trimmed().split(' ');
    if (report.size() != 4 || (report[2] == "1") != withPicture || report[3] != "0") {
        return {};
    }
    return {static_cast<double>(report[0].toLongLong() - startedAt) * 1e-9, report[1].toDouble()};
}

double median(std::vector<double> seconds) {
    if (seconds.empty()) {
        return 0.0;
    }
    const auto middle = seconds.begin() + static_cast<std::ptrdiff_t>(seconds.size() / 2);
    std::nth_element(seconds.begin(), middle, seconds.end());
    return *middle;
}

struct StartSamples {
    std::vector<double> wall;
    std::vector<double> processor;
};

void compareProgramStarts(benchmark::State& state, const Bases& bases) {
    StartSamples empty;
    StartSamples oneRecord;
    StartSamples large;
    bool asMeant = true;
    const auto time = [&asMeant](StartSamples& samples, const QString& folder, bool withPicture) {
        const FirstPaint paint = startChildToFirstPaint(folder, withPicture);
        asMeant = asMeant && paint.seconds > 0;
        samples.wall.push_back(paint.seconds);
        samples.processor.push_back(paint.processorSeconds);
    };
    for (auto _ : state) {
        time(empty, bases.emptyFolder, false);
        time(oneRecord, bases.oneRecordFolder, true);
        time(large, bases.largeFolder, true);
    }
    if (!asMeant) {
        state.SkipWithError("a program did not start or did not show what it should have");
        return;
    }
    state.counters["empty_ms"] = median(empty.wall) * 1e3;
    state.counters["one_record_ms"] = median(oneRecord.wall) * 1e3;
    state.counters["large_base_ms"] = median(large.wall) * 1e3;
    state.counters["empty_cpu_ms"] = median(empty.processor) * 1e3;
    state.counters["one_record_cpu_ms"] = median(oneRecord.processor) * 1e3;
    state.counters["large_base_cpu_ms"] = median(large.processor) * 1e3;
}

// The window's own share: creating it to its first paint, in this process.
void compareWindowCreations(benchmark::State& state, const Bases& bases) {
    Samples empty;
    Samples oneRecord;
    Samples large;
    bool asMeant = true;
    for (auto _ : state) {
        StartedWindow started;
        empty.time([&] { started = startToFirstPaint(bases.emptyFolder); });
        asMeant = asMeant && started.window->drawnPictureRect().isEmpty();
        started = {};
        oneRecord.time([&] { started = startToFirstPaint(bases.oneRecordFolder); });
        asMeant = asMeant && showsPicture(started);
        started = {};
        large.time([&] { started = startToFirstPaint(bases.largeFolder); });
        asMeant = asMeant && showsPicture(started);
    }
    if (!asMeant) {
        state.SkipWithError("a window did not show what it should have");
        return;
    }
    state.counters["empty_ms"] = empty.median() * 1e3;
    state.counters["one_record_ms"] = oneRecord.median() * 1e3;
    state.counters["large_base_ms"] = large.median() * 1e3;
}

void compareForwardClicks(benchmark::State& state, const Bases& bases) {
    const StartedWindow started = startToFirstPaint(bases.browsedFolder);
    auto* forward = started.window->findChild<QAbstractButton*>(QStringLiteral("Command3"));
    auto* first = started.window->findChild<QAbstractButton*>(QStringLiteral("Command9"));
    Samples decodes;
    Samples clicks;
    bool decoded = true;
    for (auto _ : state) {
        decodes.time([&] {
            QImage picture = QImage::fromData(bases.firstBitmapFile, "BMP");
            decoded = decoded && !picture.isNull();
            benchmark::DoNotOptimize(picture);
        });
        // Back to the first record, untimed, after the last.
        if (!forward->isEnabled()) {
            first->click();
        }
        clicks.time([&] { forward->click(); });
    }
    if (!decoded || started.boxes->shown != 0 || started.window->drawnPictureRect().isEmpty()) {
        state.SkipWithError("a decode or a click did not give its picture");
        return;
    }
    state.counters["decode_ms"] = decodes.median() * 1e3;
    state.counters["click_ms"] = clicks.median() * 1e3;
}

int printSummary(const RecordingReporter& results) {
    TargetSummary summary("Window targets (median times, taken in turn in the same run)");
    const auto empty = results.counter("ProgramStart", "empty_ms");
    const auto oneRecord = results.counter("ProgramStart", "one_record_ms");
    const auto large = results.counter("ProgramStart", "large_base_ms");
    summary.figure("program start to first paint, no base", empty, "ms");
    summary.figure("program start to first paint, base of 1 record", oneRecord, "ms");
    summary.figure("program start to first paint, base of 1 GB", large, "ms");
    summary.ratioAtMost("first paint, 1 record / no base", oneRecord, empty, 1.5);
    summary.ratioAtMost("first paint, 1 GB / no base", large, empty, 1.5);
    const auto emptyCpu = results.counter("ProgramStart", "empty_cpu_ms");
    const auto oneRecordCpu = results.counter("ProgramStart", "one_record_cpu_ms");
    const auto largeCpu = results.counter("ProgramStart", "large_base_cpu_ms");
    summary.figure("processor time to first paint, no base", emptyCpu, "ms");
    summary.figure("processor time to first paint, 1 record", oneRecordCpu, "ms");
    summary.figure("processor time to first paint, 1 GB", largeCpu, "ms");
    summary.ratioAtMost("processor time, 1 record / no base", oneRecordCpu, emptyCpu, 1.5);
    summary.ratioAtMost("processor time, 1 GB / no base", largeCpu, emptyCpu, 1.5);
    summary.figure("window creation to first paint, no base",
                   results.counter("WindowCreation", "empty_ms"), "ms");
    summary.figure("window creation to first paint, 1 record",
                   results.counter("WindowCreation", "one_record_ms"), "ms");
    summary.figure("window creation to first paint, 1 GB",
                   results.counter("WindowCreation", "large_base_ms"), "ms");
    const auto decode = results.counter("ForwardClick", "decode_ms");
    const auto click = results.counter("ForwardClick", "click_ms");
    summary.figure("decode one 1-megapixel record", decode, "ms");
    summary.figure("forward click: read, decode, draw", click, "ms");
    summary.ratioAtMost("forward click / decode", click, decode, 1.5);
    return summary.print();
}

int run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc == 2 && QString::fromLocal8Bit(argv[1]).startsWith(FirstPaintOption)) {
        return firstPaintChild(argc, argv,
                               QString::fromLocal8Bit(argv[1]).mid(FirstPaintOption.size()));
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder scratch;
    if (scratch.freeBytes() < 2 * LargeBaseBytes) {
        throw std::runtime_error("not enough free disk for the 1 GB base");
    }
    const Bases bases = makeBases(scratch);
    benchmark::RegisterBenchmark(
        "ProgramStart", [&bases](benchmark::State& state) { compareProgramStarts(state, bases); })
        ->Iterations(ProgramStarts)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "WindowCreation",
        [&bases](benchmark::State& state) { compareWindowCreations(state, bases); })
        ->MinTime(2.0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(
        "ForwardClick", [&bases](benchmark::State& state) { compareForwardClicks(state, bases); })
        ->MinTime(2.0)
        ->Unit(benchmark::kMillisecond);
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("window_bench", pictarium::bench::run, argc, argv);
}
