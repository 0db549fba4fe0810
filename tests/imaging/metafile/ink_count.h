#pragma once

#include <QImage>
#include <QList>
#include <QRect>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pictarium::test {

// The colours the tests draw with, opaque.
inline constexpr QRgb Black = 0xFF000000;
inline constexpr QRgb White = 0xFFFFFFFF;
inline constexpr QRgb Red = 0xFFFF0000;
inline constexpr QRgb Green = 0xFF00FF00;
inline constexpr QRgb Blue = 0xFF0000FF;
inline constexpr QRgb Yellow = 0xFFFFFF00;

// A picture of four quarters: red, green on top; blue and `lastQuarter`
// below.
inline QImage fourColours(int width = 2, int height = 2, QRgb lastQuarter = White) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            picture.setPixel(x, y,
                             y < height / 2 ? (right ? Green : Red) : (right ? lastQuarter : Blue));
        }
    }
    return picture;
}

// The pixels of `area` for which `counts(pixel)` holds.
template <typename Counts>
int countPixels(const QImage& picture, const QRect& area, Counts counts) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += counts(picture.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// The pixels of `area` of exactly `colour`.
inline int countOf(const QImage& picture, QRgb colour, const QRect& area) {
    return countPixels(picture, area, [colour](QRgb pixel) { return pixel == colour; });
}

// Whether a pixel counts as drawn on the white page of a metafile.
inline bool isInked(QRgb pixel, int greyLimit = 128) {
    return qGray(pixel) < greyLimit;
}

// The pixels of `area` darker than `greyLimit`: enough to tell a shape drawn
// from one missing without pinning the antialiasing of its edges.
inline int inkIn(const QImage& picture, const QRect& area, int greyLimit = 128) {
    return countPixels(picture, area,
                       [greyLimit](QRgb pixel) { return isInked(pixel, greyLimit); });
}

// Whether each channel of `pixel` is within `tolerance` of `colour`'s.
inline bool isNear(QRgb pixel, QRgb colour, int tolerance) {
    return std::abs(qRed(pixel) - qRed(colour)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(colour)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(colour)) <= tolerance;
}

// Every pixel of `area` is of `colour`; a colour of alpha 0 asks for
// transparency alone.
struct Probe {
    QRect area;
    QRgb colour;
};

inline Probe at(int x, int y, QRgb colour) {
    return {QRect(x, y, 1, 1), colour};
}

template <typename... Each>
QList<Probe> probes(Each... each) {
    return {each...};
}

inline void expectProbes(const QImage& picture, const QList<Probe>& probes) {
    for (const Probe& probe : probes) {
        // Copied, not bound: clang 14 lets no lambda capture a structured binding.
        const QRect area = probe.area;
        const QRgb colour = probe.colour;
        ASSERT_TRUE(picture.rect().contains(area)) << area.x() << ", " << area.y();
        const int matching = countPixels(picture, area, [colour](QRgb pixel) {
            return qAlpha(colour) == 0 ? qAlpha(pixel) == 0 : pixel == colour;
        });
        EXPECT_EQ(matching, area.width() * area.height()) << "at " << area.x() << ", " << area.y();
    }
}

}  // namespace pictarium::test
