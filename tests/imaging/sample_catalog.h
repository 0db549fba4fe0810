#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace pictarium::test {

// One generated picture file and what reading it must give.
struct Sample {
    QString fileName;  // the name it is saved under; its extension picks the reader
    QByteArray bytes;
    QImage expected;  // null: the file must be refused
    // The largest channel difference allowed between the averages of
    // matching blockSize x blockSize blocks: 0 and 1 demand every pixel.
    int tolerance = 0;
    int blockSize = 1;
};

// Samples for every accepted extension, several for some: each format
// that Qt or Magick++ writes is written by them, the others are built
// by hand. Built once, on first use.
[[nodiscard]] const std::vector<Sample>& allSamples();

// Largest channel difference between two pictures of one size, pixel by
// pixel, or between the averages of blocks of `blockSize` pixels; when the
// sizes differ, larger than any tolerance.
[[nodiscard]] int largestDifference(const QImage& actual, const QImage& expected,
                                    int blockSize = 1);

}  // namespace pictarium::test
