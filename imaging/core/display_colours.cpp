#include "imaging/core/display_colours.h"

#include <QPixelFormat>

namespace pictarium {

QImage inDisplayColours(QImage picture) {
    const QColorSpace space = picture.colorSpace();
    if (picture.isNull() || !space.isValid() || space == QColorSpace::SRgb) {
        return picture;
    }
    // Qt converts the colours of RGB pixels and of colour tables.
    const QPixelFormat::ColorModel model = picture.pixelFormat().colorModel();
    if (model != QPixelFormat::RGB && model != QPixelFormat::Indexed) {
        picture.convertTo(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    picture.convertToColorSpace(QColorSpace::SRgb);
    return picture;
}

QColorSpace colourSpaceOfProfile(QByteArrayView profile) {
    if (profile.isEmpty()) {
        return {};
    }
    return QColorSpace::fromIccProfile(QByteArray(profile.data(), profile.size()));
}

}  // namespace pictarium
