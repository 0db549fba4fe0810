// Reading enhanced metafiles of a page, for information: a radial gradient
// of thin rings drawn twice with xor around a mask, as LibreOffice writes
// one, and a chart of many lines and labels. Each is set beside the decode
// of a PNG of the same page, which gives the figures a scale.

#include "bench/peak_memory.h"
#include "bench/run_summary.h"
#include "bench/samples.h"
#include "imaging/metafile/emf_reader.h"
#include "tests/imaging/metafile/emf_writer.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace pictarium::bench {

namespace {

using test::CopyMix;
using test::EmfWriter;
using test::NullPen;
using test::XorMix;

constexpr QSize PageSize(1123, 794);  // A4 across, at 96 dpi
constexpr int Rounds = 5;
constexpr int Rings = 400;
constexpr int RingScale = 4;  // logical units per pixel, so that rings are thin
constexpr int ChartLines = 2000;
constexpr int ChartLabels = 500;

QList<QPoint> circle(QPoint centre, int radius) {
    constexpr int Corners = 128;
    QList<QPoint> points;
    for (int i = 0; i < Corners; ++i) {
        const double angle = 2 * std::numbers::pi * i / Corners;
        points.append(centre + QPoint(int(std::lround(radius * std::cos(angle))),
                                      int(std::lround(radius * std::sin(angle)))));
    }
    return points;
}

void drawRings(EmfWriter& emf, QPoint centre) {
    for (int ring = Rings; ring > 0; --ring) {
        const int shade = 255 * ring / Rings;
        emf.createBrush(1, 0, qRgb(shade, shade, 255 - shade)).selectObject(1);
        emf.polyPolygon16({circle(centre, ring * 3), circle(centre, ring * 3 - 3)});
        emf.deleteObject(1);
    }
}

QByteArray gradientPage() {
    EmfWriter emf(PageSize.width(), PageSize.height());
    const float scale = 1.0f / RingScale;
    emf.setWorldTransform({scale, 0, 0, scale, 0, 0}).selectObject(NullPen);
    const QPoint centre(PageSize.width() * RingScale / 2, PageSize.height() * RingScale / 2);
    const int radius = Rings * 3;
    emf.setMixMode(XorMix);
    drawRings(emf, centre);
    emf.setMixMode(CopyMix);
    emf.createBrush(2, 0, qRgb(0, 0, 0)).selectObject(2);
    emf.ellipse(
        QRect(centre - QPoint(radius, radius * 2 / 3), centre + QPoint(radius, radius * 2 / 3)));
    emf.setMixMode(XorMix);
    drawRings(emf, centre);
    return emf.finish();
}

QByteArray chartPage() {
    EmfWriter emf(PageSize.width(), PageSize.height());
    emf.createPen(1, 0, 3, qRgb(0, 80, 160)).selectObject(1);  // 2.25 points, as charts have
    std::uint32_t noise = 2024;
    for (int line = 0; line < ChartLines; ++line) {
        QList<QPoint> points;
        for (int x = 0; x < PageSize.width(); x += 23) {
            noise = noise * 1664525 + 1013904223;
            points.append(QPoint(x, int(noise >> 22) % PageSize.height()));
        }
        emf.points(test::Emr::Polyline16, points, true);
    }
    emf.createFont(2, -12, QStringLiteral("DejaVu Sans")).selectObject(2).setBackgroundMode(1);
    for (int label = 0; label < ChartLabels; ++label) {
        emf.textOut(QPoint(label * 37 % PageSize.width(), label * 53 % PageSize.height()),
                    QStringLiteral("Série %1 : %2 €").arg(label).arg(label * 13));
    }
    return emf.finish();
}

QByteArray pngPage() {
    QImage page(PageSize, QImage::Format_RGB32);
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            page.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(page)) {
        throw std::runtime_error("cannot write the PNG page");
    }
    return buffer.data();
}

template <typename Decode>
void measure(benchmark::State& state, Decode decode) {
    Samples times;
    std::int64_t peakKiB = 0;
    for (auto _ : state) {
        const PeakMemoryWindow window;
        QImage picture;
        times.time([&] { picture = decode(); });
        if (picture.size() != PageSize) {
            state.SkipWithError("the page did not decode at its size");
            return;
        }
        peakKiB = std::max(peakKiB, window.growthKiB());
    }
    state.counters["ms"] = times.median() * 1000;
    state.counters["peak_KiB"] = double(peakKiB);
}

void printSummary(const RecordingReporter& results) {
    TargetSummary summary("Metafile reading (a page, for information)");
    summary.figure("PNG decode", results.counter("Png/page", "ms"), "ms");
    summary.figure("gradient metafile", results.counter("EmfGradient/page", "ms"), "ms");
    summary.figure("chart metafile", results.counter("EmfChart/page", "ms"), "ms");
    summary.figure("peak memory of the gradient", results.counter("EmfGradient/page", "peak_KiB"),
                   "KiB");
    summary.figure("peak memory of the chart", results.counter("EmfChart/page", "peak_KiB"), "KiB");
    summary.print();
}

int run(int argc, char** argv) {
    // Labels need fonts, and fonts a Gui application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    const QByteArray png = pngPage();
    const QByteArray gradient = gradientPage();
    const QByteArray chart = chartPage();

    benchmark::RegisterBenchmark("Png/page",
                                 [&](benchmark::State& state) {
                                     measure(state, [&] { return QImage::fromData(png, "png"); });
                                 })
        ->Iterations(Rounds)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("EmfGradient/page",
                                 [&](benchmark::State& state) {
                                     measure(state,
                                             [&] { return decodeEnhancedMetafile(gradient); });
                                 })
        ->Iterations(Rounds)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("EmfChart/page",
                                 [&](benchmark::State& state) {
                                     measure(state, [&] { return decodeEnhancedMetafile(chart); });
                                 })
        ->Iterations(Rounds)
        ->Unit(benchmark::kMillisecond);

    RecordingReporter results;
    benchmark::RunSpecifiedBenchmarks(&results);
    printSummary(results);
    return 0;
}

}  // namespace

}  // namespace pictarium::bench

int main(int argc, char** argv) {
    return pictarium::bench::runProgram("emf_bench", pictarium::bench::run, argc, argv);
}
