// Importing many pictures costs one rewrite of the base, so its cost is
// compared with what it cannot avoid: one durable copy of the base and the
// decode of the pictures, both measured in turn in the same run. The same
// pictures added one by one are measured once beside it, for the record:
// that is one rewrite per picture.
//
// Sizes in MiB: --sizes=16,256,1024 (the default) or PICTARIUM_BENCH_SIZES.
// The largest needs about 4 GB of free disk in the scratch folder
// (PICTARIUM_BENCH_DIR, default the system's temporary folder).

#include "base/file_operations.h"
#include "base/run_errors.h"
#include "bench/base_writer.h"
#include "bench/peak_memory.h"
#include "bench/quiet_host.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "bench/size_options.h"
#include "engine/class_dbp.h"
#include "imaging/picture_reader.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QStringList>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace pictarium::bench {

namespace {

constexpr std::int64_t MiB = 1024 * 1024;
constexpr int PictureCount = 100;
// A JPEG photo of about 200 KB.
constexpr QSize PhotoSize(640, 480);
constexpr int PhotoQuality = 92;
constexpr QSize StoredPictureSize(256, 256);
constexpr int Iterations = 5;

QString description(std::int32_t index) {
    return QStringLiteral("Photo de vacances n° %1").arg(index);
}

// The photo files, all of the same picture: the decode is what matters.
QStringList writePhotos(const ScratchFolder& folder) {
    const QImage photo = makeTestPicture(PhotoSize);
    QStringList paths;
    for (int i = 0; i < PictureCount; ++i) {
        const QString path = folder.filePath(QStringLiteral("photo-%1.jpg").arg(i));
        if (!photo.save(path, "JPG", PhotoQuality)) {
            throw std::runtime_error("cannot write " + path.toStdString());
        }
        paths.append(path);
    }
    std::printf("%d photos of %lld bytes\n", PictureCount,
                static_cast<long long>(QFileInfo(paths.front()).size()));
    return paths;
}

QList<NewRecord> decodePhotos(const QStringList& paths) {
    QList<NewRecord> records;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        PictureReading reading = readPictureFile(paths[i]);
        if (reading.outcome != PictureReading::Outcome::Loaded) {
            throw std::runtime_error("cannot read " + paths[i].toStdString());
        }
        records.append({std::move(reading.picture), description(static_cast<std::int32_t>(i))});
    }
    return records;
}

struct SizedBase {
    std::string label;
    QString path;
};

SizedBase makeBase(const ScratchFolder& folder, std::int64_t megabytes) {
    const QByteArray storedPicture = storedPictureBytes(makeTestPicture(StoredPictureSize));
    const std::int32_t count = recordsForSize(megabytes * MiB, storedPicture, description(0));
    SizedBase base{std::to_string(megabytes) + "MiB",
                   folder.filePath(QStringLiteral("%1.bdp").arg(megabytes))};
    writeBase(base.path, count, storedPicture, description);
    std::printf("%s: %d records\n", base.label.c_str(), count);
    return base;
}

// Every timed step starts on a quiet disk: what earlier steps left for the
// kernel to write back would otherwise fall on whichever step comes next.
void settleDisk() {
    ::sync();
}

// A fresh copy of the base to import into, not timed.
QString freshCopy(const QString& folder, const SizedBase& base) {
    const QString work = folder + QStringLiteral("/work.bdp");
    if (QFileInfo::exists(work)) {
        removeFile(work);
    }
    copyFile(base.path, work, true);
    return work;
}

void compareImport(benchmark::State& state, const QString& folder, const SizedBase& base,
                   const QStringList& photos) {
    const QString copyPath = folder + QStringLiteral("/copy.bdp");
    Samples references;
    Samples imports;
    std::int64_t peakKiB = 0;
    try {
        for (auto _ : state) {
            settleDisk();
            references.time([&] {
                copyFile(base.path, copyPath, true);
                (void)decodePhotos(photos);
            });
            removeFile(copyPath);
            QuietHost host(folder);
            ClassDBP engine(host);
            if (!engine.OpenBDP(freshCopy(folder, base))) {
                state.SkipWithError("the base does not open");
                return;
            }
            bool added = false;
            settleDisk();
            const PeakMemoryWindow window;
            imports.time([&] { added = engine.AddRecordsBDP(decodePhotos(photos)); });
            peakKiB = std::max(peakKiB, window.growthKiB());
            if (!added) {
                state.SkipWithError(("import failed: " + host.lastMessage().toStdString()).c_str());
                return;
            }
        }
    } catch (const RunFailure& failure) {
        state.SkipWithError(("copy failed with error " + std::to_string(failure.number())).c_str());
        return;
    }
    state.counters["reference_ms"] = references.median() * 1e3;
    state.counters["import_ms"] = imports.median() * 1e3;
    state.counters["peak_KiB"] = static_cast<double>(peakKiB);
}

// Once: the same photos added one rewrite each.
void singleAdds(benchmark::State& state, const QString& folder, const SizedBase& base,
                const QStringList& photos) {
    for (auto _ : state) {
        QuietHost host(folder);
        ClassDBP engine(host);
        QString work;
        try {
            work = freshCopy(folder, base);
        } catch (const RunFailure& failure) {
            state.SkipWithError(
                ("copy failed with error " + std::to_string(failure.number())).c_str());
            return;
        }
        if (!engine.OpenBDP(work)) {
            state.SkipWithError("the base does not open");
            return;
        }
        for (const QString& photo : photos) {
            const PictureReading reading = readPictureFile(photo);
            if (!engine.AddBDP(reading.picture, description(0))) {
                state.SkipWithError(("add failed: " + host.lastMessage().toStdString()).c_str());
                return;
            }
        }
    }
}

void printSummary(const RecordingReporter& results, const std::vector<SizedBase>& bases) {
    TargetSummary summary("Import targets (median times, taken in turn in the same run)");
    for (const SizedBase& base : bases) {
        const std::string name = "Import/" + base.label;
        const auto reference = results.counter(name, "reference_ms");
        const auto import = results.counter(name, "import_ms");
        summary.figure(base.label + ": one copy + 100 decodes", reference, "ms");
        summary.figure(base.label + ": import of 100", import, "ms");
        summary.ratioAtMost(base.label + ": import / (copy + decodes)", import, reference, 1.3);
        summary.figure(base.label + ": import peak memory rise", results.counter(name, "peak_KiB"),
                       "KiB");
        summary.figure(base.label + ": 100 single adds",
                       results.seconds("SingleAdds/" + base.label), "s");
    }
    summary.print();
}

int run(int argc, char** argv) {
    const std::vector<std::int64_t> sizes = parseSizes(
        takeOption(argc, argv, "--sizes=", "PICTARIUM_BENCH_SIZES", QStringLiteral("16,256,1024")));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder folder;
    std::int64_t needed = 256 * MiB;
    for (const std::int64_t megabytes : sizes) {
        needed += megabytes * MiB;
    }
    if (!sizes.empty() && folder.freeBytes() < needed + 3 * sizes.back() * MiB) {
        throw std::runtime_error("not enough free disk in " + folder.path().toStdString());
    }
    const QStringList photos = writePhotos(folder);
    std::vector<SizedBase> bases;
    for (const std::int64_t megabytes : sizes) {
        bases.push_back(makeBase(folder, megabytes));
    }
    const QString path = folder.path();
    for (const SizedBase& base : bases) {
        benchmark::RegisterBenchmark(("Import/" + base.label).c_str(),
                                     [&base, &photos, path](benchmark::State& state) {
                                         compareImport(state, path, base, photos);
                                     })
            ->Iterations(Iterations)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SingleAdds/" + base.label).c_str(),
                                     [&base, &photos, path](benchmark::State& state) {
                                         singleAdds(state, path, base, photos);
                                     })
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results, bases);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("import_bench", pictarium::bench::run, argc, argv);
}
