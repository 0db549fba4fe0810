#include "tests/imaging/reference_pictures.h"

#include "imaging/decoders/pc_palettes_p.h"

#include <QList>

namespace pictarium::test {

namespace {

constexpr QRgb BlockColours[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                  0xFFFFFF00, 0xFFFFFFFF, 0xFF000000};

QImage blocks(int blockSize) {
    QImage picture(3 * blockSize, 2 * blockSize, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, BlockColours[(y / blockSize) * 3 + x / blockSize]);
        }
    }
    return picture;
}

}  // namespace

QImage colourReference() {
    return blocks(8);
}

QImage photoCdReference() {
    return blocks(256);
}

QImage monochromeReference() {
    QImage picture(21, 13, QImage::Format_Mono);
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool black = x < 12 ? ((x / 3 + y / 3) % 2 == 0) : (y < 6 || x == 20);
            picture.setPixel(x, y, black ? 0 : 1);
        }
    }
    return picture;
}

QImage sixteenColourReference() {
    QImage picture(19, 6, QImage::Format_Indexed8);
    picture.setColorTable(QList<QRgb>(PcStandardColours.begin(), PcStandardColours.end()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, static_cast<uint>((x + 3 * y) % 16));
        }
    }
    return picture;
}

QImage greyReference() {
    constexpr int Levels[4] = {0, 64, 160, 255};
    QImage picture(20, 10, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int level = Levels[(x / 5 + y / 5) % 4];
            picture.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return picture;
}

QImage transparentReference() {
    QImage picture = colourReference().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb colour = picture.pixel(x, y);
            picture.setPixel(x, y,
                             qRgba(qRed(colour), qGreen(colour), qBlue(colour), x < 8 ? 0 : 128));
        }
    }
    return picture;
}

QImage transparentReferenceOnWhite() {
    QImage picture = colourReference();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.setPixel(x, y, x < 8 ? qRgb(255, 255, 255) : qRgb(127, 255, 127));
        }
    }
    return picture;
}

}  // namespace pictarium::test
