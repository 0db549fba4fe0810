// Thumbnails of a 24-megapixel record: made from the rows it needs against
// reading the whole stored bitmap and decoding it (then scaling it down),
// taken in turn in the same run, with the rows and bytes each reads; the
// maker's thumbnail made anew and found in its cache, how long destroying
// a busy maker takes, and the size of a cache file.

#include "bench/base_writer.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "bench/scratch_folder.h"
#include "engine/read_only_base.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/row_sampled_thumbnail.h"
#include "thumbnails/thumbnail_maker.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QThread>

#include <memory>

namespace pictarium::bench {

namespace {

constexpr QSize PhotoSize(6000, 4000);
constexpr int Edge = 256;
constexpr double SampledRatioLimit = 0.3;
constexpr double CacheFileLimitKiB = 24;

struct Reads {
    std::int64_t rows = 0;
    std::int64_t bytes = 0;
};

// What showing the record costs: its stored bitmap read whole and decoded.
QImage readAndDecode(const ReadOnlyBase& base, Reads& reads) {
    const std::optional<StoredPictureLocation> location = base.pictureLocation(0);
    const QByteArray file = base.pictureFile(*location);
    reads = {PhotoSize.height(), file.size()};
    return pictureFromBitmapFile(file);
}

QImage sampledThumbnail(const ReadOnlyBase& base, Reads& reads) {
    const std::optional<StoredPictureLocation> location = base.pictureLocation(0);
    const QByteArray start =
        "BM." + base.read(location->offset, RowSampledThumbnail::MaxHeadersLength);
    const auto plan = RowSampledThumbnail::plan(start, location->length + 3, Edge);
    reads = {0, start.size()};
    return plan->make([&](std::int64_t row) {
        const QByteArray bytes =
            base.read(location->offset - 3 + plan->rowOffset(row), plan->rowBytes());
        reads.rows += 1;
        reads.bytes += bytes.size();
        return bytes;
    });
}

// The maker's thumbnail of record 0, as the window gets it.
QImage fromMaker(ThumbnailMaker& maker, const QString& path) {
    QImage result;
    QEventLoop loop;
    QObject::connect(&maker, &ThumbnailMaker::thumbnailReady, &loop,
                     [&](quint64, int, const QImage& thumbnail) {
                         result = thumbnail;
                         loop.quit();
                     });
    maker.setBase(path);
    maker.request({0});
    loop.exec();
    return result;
}

void compareThumbnails(benchmark::State& state, const QString& path, const ScratchFolder& scratch) {
    const std::optional<ReadOnlyBase> base = ReadOnlyBase::open(path);
    const QString cacheFolder = scratch.filePath(QStringLiteral("cache"));
    ThumbnailMaker maker(cacheFolder);
    Samples whole;
    Samples scale;
    Samples sampled;
    Samples made;
    Samples cached;
    Reads wholeReads;
    Reads sampledReads;
    bool same = base.has_value();
    for (auto _ : state) {
        QImage a;
        QImage b;
        whole.time([&] { a = readAndDecode(*base, wholeReads); });
        scale.time([&] {
            a = a.scaled(thumbnailSize(a.size(), Edge), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
        });
        sampled.time([&] { b = sampledThumbnail(*base, sampledReads); });
        same = same && a.size() == b.size();
        QDir(cacheFolder).removeRecursively();
        made.time([&] { same = same && !fromMaker(maker, path).isNull(); });
        cached.time([&] { same = same && !fromMaker(maker, path).isNull(); });
    }
    // How long the window's thread waits when it closes the sheet while a
    // thumbnail of a huge record is under way.
    Samples stops;
    for (int round = 0; round < 3; ++round) {
        QDir(cacheFolder).removeRecursively();
        auto busy = std::make_unique<ThumbnailMaker>(cacheFolder);
        busy->setBase(path);
        busy->request({0});
        QThread::msleep(30);
        stops.time([&] { busy.reset(); });
    }
    same = same && fromMaker(maker, path).size() == QSize(320, 213);
    const QFileInfoList files = QDir(cacheFolder).entryInfoList(QDir::Files);
    if (!same || files.size() != 1) {
        state.SkipWithError("a thumbnail was not made");
        return;
    }
    state.counters["whole_ms"] = whole.median() * 1e3;
    state.counters["scale_ms"] = scale.median() * 1e3;
    state.counters["sampled_ms"] = sampled.median() * 1e3;
    state.counters["made_ms"] = made.median() * 1e3;
    state.counters["cached_ms"] = cached.median() * 1e3;
    state.counters["whole_rows"] = static_cast<double>(wholeReads.rows);
    state.counters["sampled_rows"] = static_cast<double>(sampledReads.rows);
    state.counters["whole_MiB"] = static_cast<double>(wholeReads.bytes) / (1024.0 * 1024.0);
    state.counters["sampled_MiB"] = static_cast<double>(sampledReads.bytes) / (1024.0 * 1024.0);
    state.counters["stop_ms"] = stops.median() * 1e3;
    state.counters["cache_file_KiB"] = static_cast<double>(files.first().size()) / 1024.0;
}

int run(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const ScratchFolder scratch;
    const QString path = scratch.filePath(QStringLiteral("photo.bdp"));
    writeBase(path, 1, storedPictureBytes(photoLikePicture(PhotoSize)),
              [](std::int32_t) { return QStringLiteral("Grande photo"); });
    benchmark::RegisterBenchmark(
        "Thumbnail24MP", [&](benchmark::State& state) { compareThumbnails(state, path, scratch); })
        ->Iterations(6)
        ->Unit(benchmark::kMillisecond);
    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);

    const auto figure = [&](const char* name) { return results.counter("Thumbnail24MP", name); };
    TargetSummary summary("thumbnail of a 24-megapixel record (median times, in turn in one run)");
    summary.figure("read and decode the stored bitmap whole", figure("whole_ms"), "ms");
    summary.figure("then smooth scale it to 256 px", figure("scale_ms"), "ms");
    summary.figure("row-sampled, 256 px", figure("sampled_ms"), "ms");
    summary.ratioAtMost("row-sampled / read and decode", figure("sampled_ms"), figure("whole_ms"),
                        SampledRatioLimit);
    summary.figure("rows read whole", figure("whole_rows"), "rows");
    summary.figure("rows read sampled", figure("sampled_rows"), "rows");
    summary.figure("bytes read whole", figure("whole_MiB"), "MiB");
    summary.figure("bytes read sampled", figure("sampled_MiB"), "MiB");
    summary.figure("maker, 320 px, made and cached", figure("made_ms"), "ms");
    summary.ratioAtMost("maker made / read and decode", figure("made_ms"), figure("whole_ms"),
                        SampledRatioLimit);
    summary.figure("maker, 320 px, found in the cache", figure("cached_ms"), "ms");
    summary.figure("maker destroyed while making", figure("stop_ms"), "ms");
    summary.atMost("cache file of one 320 px thumbnail", figure("cache_file_KiB"),
                   CacheFileLimitKiB, "KiB");
    return summary.print();
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("thumbnail_bench", pictarium::bench::run, argc, argv);
}
