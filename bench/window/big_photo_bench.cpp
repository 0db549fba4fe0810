// Browsing a base of 24-megapixel photos: one forward click (read, decode,
// hand over, draw) next to reading the record's stored bitmap from the
// file and decoding it alone, in turn in the same run, and how far the
// memory rises during the click against the size of one decoded picture;
// then the viewer opened on that record and painted at several zooms.

#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "bench/window/counting_message_boxes.h"
#include "bench/window/program_folder.h"
#include "imaging/core/bitmap_codec.h"
#include "window/main_dialog.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr QSize PhotoSize(6000, 4000);
constexpr std::int32_t Records = 3;

QString description(std::int32_t index) {
    return QStringLiteral("Grande photo %1").arg(index);
}

struct BigBase {
    QString programFolder;
    QString path;
    qint64 firstPictureAt = 0;  // where record 0's stored picture starts
    qint64 storedLength = 0;
};

BigBase makeBase(const ScratchFolder& scratch) {
    const QByteArray stored = storedPictureBytes(makeTestPicture(PhotoSize));
    BigBase base;
    base.path = scratch.filePath(QStringLiteral("photos.bdp"));
    writeBase(base.path, Records, stored, description);
    base.storedLength = stored.size();
    base.firstPictureAt = qint64{8} + qint64{16} * Records + description(0).size();
    base.programFolder = programFolderFor(scratch, QStringLiteral("program"), base.path);
    return base;
}

// What the click cannot do without: the stored bytes read from the base
// and decoded into a picture.
QImage readAndDecode(const BigBase& base) {
    QFile file(base.path);
    QByteArray bitmap(3 + base.storedLength, Qt::Uninitialized);
    std::memcpy(bitmap.data(), "BM.", 3);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(base.firstPictureAt) ||
        file.read(bitmap.data() + 3, base.storedLength) != base.storedLength) {
        return {};
    }
    return pictureFromBitmapFile(bitmap);
}

// The viewer opened on the record on show, then one paint at each zoom:
// the first after the zoom changed, and a repaint at the same zoom. The
// viewer takes three quarters of the screen (600 x 450 on the offscreen
// platform's screen).
void measureViewer(benchmark::State& state, const MainDialog& window) {
    const auto act = [&window](const QWidget* owner, const char* name) {
        owner->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    Samples opens;
    for (int round = 0; round < 5; ++round) {
        if (auto* viewer = window.findChild<QWidget*>(QStringLiteral("ViewerWindow"))) {
            viewer->close();
        }
        opens.time([&] {
            act(&window, "ShowViewer");
            QCoreApplication::processEvents();
            window.findChild<QAbstractScrollArea*>(QStringLiteral("ViewerPicture"))
                ->viewport()
                ->repaint();
        });
    }
    const auto* viewer = window.findChild<QWidget*>(QStringLiteral("ViewerWindow"));
    QWidget* view =
        window.findChild<QAbstractScrollArea*>(QStringLiteral("ViewerPicture"))->viewport();
    // Fitted, then about 51 %, 100 % and 305 %.
    const std::vector<std::vector<const char*>> zooms = {
        {"ViewerFit"},
        {"ViewerActualSize", "ViewerZoomOut", "ViewerZoomOut", "ViewerZoomOut"},
        {"ViewerActualSize"},
        {"ViewerZoomIn", "ViewerZoomIn", "ViewerZoomIn", "ViewerZoomIn", "ViewerZoomIn"}};
    Samples firstPaints;
    Samples repaints;
    for (const auto& steps : zooms) {
        for (const char* step : steps) {
            act(viewer, step);
        }
        firstPaints.time([&] { view->repaint(); });
        repaints.time([&] { view->repaint(); });
    }
    // The slowest opening: the first, which scales the picture for the fit.
    state.counters["viewer_open_ms"] = opens.maximum() * 1e3;
    state.counters["zoomed_paint_ms"] = firstPaints.maximum() * 1e3;
    state.counters["repaint_ms"] = repaints.maximum() * 1e3;
}

void compareClicks(benchmark::State& state, const BigBase& base) {
    WindowSetup setup;
    setup.folders = {withSeparator(base.programFolder), withSeparator(base.programFolder),
                     withSeparator(base.programFolder) + "trash",
                     withSeparator(base.programFolder) + "thumbnails"};
    auto boxes = std::make_unique<CountingMessageBoxes>();
    const CountingMessageBoxes* shownBoxes = boxes.get();
    setup.messageBoxes = std::move(boxes);
    MainDialog window(std::move(setup));
    window.show();
    QCoreApplication::processEvents();
    auto* forward = window.findChild<QAbstractButton*>(QStringLiteral("Command3"));
    auto* first = window.findChild<QAbstractButton*>(QStringLiteral("Command9"));
    auto* display = window.findChild<QWidget*>(QStringLiteral("PicShow"));
    Samples decodes;
    Samples clicks;
    Samples paints;
    std::int64_t peakKiB = 0;
    bool decoded = true;
    for (auto _ : state) {
        decodes.time([&] {
            const QImage picture = readAndDecode(base);
            decoded = decoded && picture.size() == PhotoSize;
        });
        if (!forward->isEnabled()) {
            first->click();
        }
        const PeakMemoryWindow memory;
        clicks.time([&] {
            forward->click();
            QCoreApplication::processEvents();
        });
        peakKiB = std::max(peakKiB, memory.growthKiB());
        // Drawn again from the held picture, as when the window is uncovered.
        paints.time([&] { display->repaint(); });
    }
    if (!decoded || shownBoxes->shown != 0 || window.drawnPictureRect().isEmpty()) {
        state.SkipWithError("a decode or a click did not give its picture");
        return;
    }
    measureViewer(state, window);
    state.counters["decode_ms"] = decodes.median() * 1e3;
    state.counters["click_ms"] = clicks.median() * 1e3;
    state.counters["paint_ms"] = paints.median() * 1e3;
    state.counters["peak_KiB"] = static_cast<double>(peakKiB);
}

int run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder scratch;
    const BigBase base = makeBase(scratch);
    benchmark::RegisterBenchmark("BigPhotoClick",
                                 [&base](benchmark::State& state) { compareClicks(state, base); })
        ->Iterations(8)
        ->Unit(benchmark::kMillisecond);
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);

    TargetSummary summary("24-megapixel browsing (median times, taken in turn in the same run)");
    const auto decode = results.counter("BigPhotoClick", "decode_ms");
    const auto click = results.counter("BigPhotoClick", "click_ms");
    summary.figure("read and decode one stored 24 MP bitmap", decode, "ms");
    summary.figure("forward click to it", click, "ms");
    summary.ratioAtMost("forward click / read and decode", click, decode, 1.3);
    // Scaling down from the held picture, never converting all of it.
    const auto paint = results.counter("BigPhotoClick", "paint_ms");
    summary.figure("one paint of the display box", paint, "ms");
    summary.ratioAtMost("paint / read and decode", paint, decode, 0.1);
    // One decoded picture in the format the window holds it.
    const double pictureKiB = PhotoSize.width() * PhotoSize.height() * 4.0 / 1024.0;
    const auto peak = results.counter("BigPhotoClick", "peak_KiB");
    summary.figure("peak memory rise during the click", peak, "KiB");
    summary.atMost("peak rise, in decoded pictures",
                   peak ? std::optional<double>(*peak / pictureKiB) : std::nullopt, 2.0, "");
    // The viewer shows the picture the window holds: no read, no decode.
    const auto open = results.counter("BigPhotoClick", "viewer_open_ms");
    summary.figure("viewer opened on the record, first paint included", open, "ms");
    summary.ratioAtMost("viewer open / forward click", open, click, 0.1);
    summary.atMost("viewer repaint at any zoom", results.counter("BigPhotoClick", "repaint_ms"), 16,
                   "ms");
    summary.atMost("viewer's first paint after a zoom change, slowest",
                   results.counter("BigPhotoClick", "zoomed_paint_ms"), 16, "ms");
    return summary.print();
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("big_photo_bench", pictarium::bench::run, argc, argv);
}
