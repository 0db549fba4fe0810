// The printed catalogue of a base of photos, as `pictarium-cli catalogue`
// writes it: its time against what it cannot avoid, reading and decoding
// every record, measured in turn in the same run; the PDF's size per record
// and the memory the command takes on top of one picture.

#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "cli/run_command_line.h"
#include "engine/class_dbp.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <stdexcept>

namespace pictarium::bench {

namespace {

constexpr std::int32_t RecordCount = 100;
constexpr QSize PhotoSize(2000, 1500);
constexpr int Rounds = 3;

void readEveryRecord(const QString& folder, const QString& base) {
    QuietHost host(folder);
    ClassDBP engine(host);
    if (!engine.OpenBDP(base)) {
        throw std::runtime_error("the base does not open");
    }
    for (std::int32_t index = 0; index < RecordCount; ++index) {
        if (!engine.MoveTo(index)) {
            throw std::runtime_error("a record does not read");
        }
    }
}

void printCatalogue(const QString& base, const QString& pdf) {
    if (cli::runCommandLine({QStringLiteral("catalogue"), base, pdf}) != cli::ExitStatus::Success) {
        throw std::runtime_error("the catalogue failed");
    }
}

int run(int argc, char** argv) {
    // The layout needs fonts; no display is needed for them.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const ScratchFolder folder;
    const QString base = folder.filePath(QStringLiteral("photos.bdp"));
    const QString pdf = folder.filePath(QStringLiteral("catalogue.pdf"));
    writeBase(base, RecordCount, storedPictureBytes(makeTestPicture(PhotoSize)),
              [](std::int32_t index) { return QStringLiteral("Photo de vacances %1").arg(index); });

    Samples reading;
    Samples printing;
    std::int64_t readingKiB = 0;
    std::int64_t printingKiB = 0;
    for (int round = 0; round < Rounds; ++round) {
        const PeakMemoryWindow readingMemory;
        reading.time([&] { readEveryRecord(folder.path(), base); });
        readingKiB = std::max(readingKiB, readingMemory.growthKiB());
        const PeakMemoryWindow printingMemory;
        printing.time([&] { printCatalogue(base, pdf); });
        printingKiB = std::max(printingKiB, printingMemory.growthKiB());
    }
    const double pictureMiB = PhotoSize.width() * PhotoSize.height() * 4 / (1024.0 * 1024.0);
    TargetSummary summary("Catalogue of " + std::to_string(RecordCount) + " photos of " +
                          std::to_string(PhotoSize.width()) + " x " +
                          std::to_string(PhotoSize.height()) + " pixels, 3 columns");
    summary.figure("catalogue, real time", printing.median(), "s");
    summary.figure("reading and decoding every record, real time", reading.median(), "s");
    summary.ratioAtMost("catalogue / reading every record", printing.median(), reading.median(),
                        3.0);
    summary.figure("PDF size", QFileInfo(pdf).size() / (1024.0 * 1024.0), "MiB");
    summary.atMost("PDF size per record", QFileInfo(pdf).size() / 1024.0 / RecordCount, 100, "KiB");
    summary.figure("memory growth of reading every record", readingKiB / 1024.0 / pictureMiB,
                   "pictures");
    // Flat: what one record's reading takes, and the few small pictures of a row.
    summary.atMost("memory growth of the catalogue", printingKiB / 1024.0 / pictureMiB,
                   readingKiB / 1024.0 / pictureMiB + 0.5, "pictures");
    return summary.print() == 0 ? 0 : 1;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("catalogue_bench", pictarium::bench::run, argc, argv);
}
