#pragma once

#include <QImage>
#include <QRect>

namespace pictarium::test {

// Whether a pixel counts as drawn on the white page of a metafile.
inline bool isInked(QRgb pixel, int greyLimit = 128) {
    return qGray(pixel) < greyLimit;
}

// The pixels of `area` darker than `greyLimit`: enough to tell a shape drawn
// from one missing without pinning the antialiasing of its edges.
inline int inkIn(const QImage& picture, const QRect& area, int greyLimit = 128) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += isInked(picture.pixel(x, y), greyLimit) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace pictarium::test
