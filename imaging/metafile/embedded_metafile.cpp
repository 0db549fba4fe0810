#include "imaging/metafile/embedded_metafile_p.h"

#include <algorithm>

namespace pictarium::emf {

namespace {

QImage drawOn(QByteArrayView bytes, bool enhanced, const QColor& page, QSize size) {
    return enhanced ? drawEnhancedMetafile(bytes, page, false, size)
                    : drawWindowsMetafile(bytes, page, size);
}

// Each pixel drawn on both pages: the page shows through by as much as the
// white one's is lighter; the black one's holds the colour, premultiplied.
QImage withCoverage(const QImage& onWhite, const QImage& onBlack) {
    QImage picture(onWhite.size(), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) {
        return {};
    }
    for (int y = 0; y < picture.height(); ++y) {
        const auto* white = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
        const auto* black = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int through =
                std::max({qRed(white[x]) - qRed(black[x]), qGreen(white[x]) - qGreen(black[x]),
                          qBlue(white[x]) - qBlue(black[x]), 0});
            const int alpha = 255 - through;
            out[x] = qRgba(std::min(qRed(black[x]), alpha), std::min(qGreen(black[x]), alpha),
                           std::min(qBlue(black[x]), alpha), alpha);
        }
    }
    return picture;
}

}  // namespace

QImage decodeEmbeddedMetafile(QByteArrayView bytes, bool enhanced, QSize size) {
    const QImage onWhite = drawOn(bytes, enhanced, Qt::white, size);
    if (onWhite.isNull()) {
        return {};
    }
    const QImage onBlack = drawOn(bytes, enhanced, Qt::black, size);
    if (onBlack.size() != onWhite.size()) {
        return {};
    }
    return withCoverage(onWhite, onBlack);
}

}  // namespace pictarium::emf
