// The contact sheet of a base of 10,000 records: from the command to the
// first screen drawn with its thumbnails, with the thumbnails cached and
// with none made yet, and the longest the window's event loop stalls while
// the thumbnails arrive (the longest gap between ticks of a 5 ms timer).

#include "bench/base_writer.h"
#include "bench/run_summary.h"
#include "bench/scratch_folder.h"
#include "bench/window/counting_message_boxes.h"
#include "bench/window/program_folder.h"
#include "window/main_dialog.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr std::int32_t Records = 10000;
constexpr QSize PictureSize(200, 150);
// The sheet's role that tells an item's thumbnail has come.
constexpr int ThumbnailMadeRole = Qt::UserRole + 1;
constexpr std::chrono::seconds Patience(20);

QString description(std::int32_t index) {
    return QStringLiteral("Photo du fonds numéro %1").arg(index);
}

struct Sheet {
    QString programFolder;
    QString base;
};

Sheet makeBase(const ScratchFolder& scratch) {
    Sheet sheet;
    sheet.base = scratch.filePath(QStringLiteral("fonds.bdp"));
    writeBase(sheet.base, Records, storedPictureBytes(photoLikePicture(PictureSize)), description);
    sheet.programFolder = programFolderFor(scratch, QStringLiteral("program"), sheet.base);
    return sheet;
}

// Whether every item of the sheet's first screen shows its thumbnail.
bool firstScreenDone(const QListView& grid) {
    const QAbstractItemModel* model = grid.model();
    if (model->rowCount() == 0) {
        return false;
    }
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex item = model->index(row, 0);
        if (!grid.viewport()->rect().intersects(grid.visualRect(item))) {
            return row > 0;
        }
        if (!model->data(item, ThumbnailMadeRole).toBool()) {
            return false;
        }
    }
    return true;
}

struct Opening {
    double firstScreenMs = 0;
    double longestStallMs = 0;
};

// Opens the sheet in a new window, and watches the event loop until the
// thumbnails stop coming.
Opening openSheet(const Sheet& sheet, const QString& thumbnails) {
    WindowSetup setup;
    setup.folders = {withSeparator(sheet.programFolder), withSeparator(sheet.programFolder),
                     withSeparator(sheet.programFolder) + "trash", thumbnails};
    setup.messageBoxes = std::make_unique<CountingMessageBoxes>();
    MainDialog window(std::move(setup));
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    double lastTick = 0;
    double longest = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    clock.start();
    window.findChild<QAction*>(QStringLiteral("ShowContactSheet"))->trigger();
    const auto* grid = window.findChild<QListView*>(QStringLiteral("ContactSheetGrid"));
    lastTick = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    ticks.start();
    Opening opening;
    while (!firstScreenDone(*grid)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (clock.elapsed() > std::chrono::milliseconds(Patience).count()) {
            throw std::runtime_error("the sheet's first screen never came");
        }
    }
    grid->viewport()->repaint();
    opening.firstScreenMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    // The screens around it keep coming for a while.
    const qint64 until = clock.elapsed() + 1500;
    while (clock.elapsed() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    opening.longestStallMs = longest;
    return opening;
}

void openSheets(benchmark::State& state, const Sheet& sheet, const ScratchFolder& scratch,
                bool cached) {
    std::vector<double> firstScreens;
    double longest = 0;
    int round = 0;
    const QString shared = scratch.filePath(QStringLiteral("cache"));
    if (cached) {
        (void)openSheet(sheet, shared);  // fills the cache
    }
    for (auto _ : state) {
        const QString folder =
            cached ? shared : scratch.filePath(QStringLiteral("empty%1").arg(++round));
        const Opening opening = openSheet(sheet, folder);
        firstScreens.push_back(opening.firstScreenMs);
        longest = std::max(longest, opening.longestStallMs);
    }
    std::sort(firstScreens.begin(), firstScreens.end());
    state.counters["first_screen_ms"] =
        firstScreens.empty() ? 0 : firstScreens[firstScreens.size() / 2];
    state.counters["longest_stall_ms"] = longest;
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
    const Sheet sheet = makeBase(scratch);
    for (const bool cached : {true, false}) {
        benchmark::RegisterBenchmark(
            cached ? "SheetCached" : "SheetUncached",
            [&, cached](benchmark::State& state) { openSheets(state, sheet, scratch, cached); })
            ->Iterations(4)
            ->Unit(benchmark::kMillisecond);
    }
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);

    TargetSummary summary("Contact sheet of 10,000 records (median of 4 openings)");
    summary.atMost("first screen, thumbnails cached",
                   results.counter("SheetCached", "first_screen_ms"), 150, "ms");
    summary.atMost("longest stall, thumbnails cached",
                   results.counter("SheetCached", "longest_stall_ms"), 50, "ms");
    summary.atMost("first screen, no thumbnail made yet",
                   results.counter("SheetUncached", "first_screen_ms"), 1000, "ms");
    summary.atMost("longest stall, thumbnails made",
                   results.counter("SheetUncached", "longest_stall_ms"), 50, "ms");
    return summary.print();
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("contact_sheet_bench", pictarium::bench::run, argc, argv);
}
