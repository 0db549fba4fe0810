#include "imaging/core/opaque_picture.h"

#include <QList>

namespace pictarium {

namespace {

int onWhite(int channel, int alpha) {
    return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

void flattenColourTable(QImage& picture) {
    QList<QRgb> colours = picture.colorTable();
    for (QRgb& colour : colours) {
        const int alpha = qAlpha(colour);
        colour = qRgb(onWhite(qRed(colour), alpha), onWhite(qGreen(colour), alpha),
                      onWhite(qBlue(colour), alpha));
    }
    picture.setColorTable(colours);
}

void flattenPixels(QImage& picture) {
    picture.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            line[x] = qRgb(onWhite(qRed(pixel), alpha), onWhite(qGreen(pixel), alpha),
                           onWhite(qBlue(pixel), alpha));
        }
    }
    picture.reinterpretAsFormat(QImage::Format_RGB32);
}

}  // namespace

QImage opaquePicture(QImage picture) {
    if (picture.isNull() || !picture.hasAlphaChannel()) {
        return picture;
    }
    if (picture.colorCount() > 0) {
        flattenColourTable(picture);
    } else {
        flattenPixels(picture);
    }
    return picture;
}

}  // namespace pictarium
