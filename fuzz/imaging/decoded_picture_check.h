#pragma once

#include "imaging/core/bitmap_codec.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>

namespace pictarium::fuzz {

// Reads every byte of a decoded picture, so that the sanitizers see any
// pixel left unwritten or out of bounds, and stops on a picture that
// breaks the decoders' promises.
inline void checkDecodedPicture(const QImage& picture) {
    if (picture.isNull()) {
        return;
    }
    if (!isWithinPixelLimit(picture.width(), picture.height())) {
        std::abort();
    }
    unsigned sum = 0;
    const qsizetype rowBytes = (qsizetype{picture.width()} * picture.depth() + 7) / 8;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* row = picture.constScanLine(y);
        for (qsizetype x = 0; x < rowBytes; ++x) {
            sum += row[x];
        }
    }
    for (const QRgb colour : picture.colorTable()) {
        sum += colour;
    }
    // Keeps the sum alive without printing anything.
    volatile unsigned sink = sum;
    (void)sink;
}

// Decodes and checks; a picture refused as over the pixel limit is an
// answer like any other.
template <typename Decode>
void checkDecoding(Decode decode) {
    try {
        checkDecodedPicture(decode());
    } catch (const PictureTooLarge&) {
    }
}

}  // namespace pictarium::fuzz
