#include "imaging/picture_writer.h"

#include "base/path_parts.h"
#include "base/run_errors.h"
#include "imaging/core/opaque_picture.h"

#include <QFile>
#include <QImageWriter>

#include <algorithm>

namespace pictarium {

namespace {

int failureOf(QFileDevice::FileError error) {
    switch (error) {
        case QFileDevice::PermissionsError:
            return RunError::PermissionDenied;
        case QFileDevice::ResourceError:
            return RunError::DiskFull;
        default:
            return RunError::PathFileAccessError;
    }
}

void writeWith(const QImage& picture, const QString& fileName, const QByteArray& format,
               int quality) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw RunFailure(failureOf(file.error()));
    }
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(picture)) {
        throw RunFailure(file.error() != QFileDevice::NoError ? failureOf(file.error())
                                                              : RunError::DeviceIoError);
    }
    if (!file.flush()) {
        throw RunFailure(failureOf(file.error()));
    }
}

// Qt's bitmap writer gives 24 bits per pixel for RGB32 pictures.
QImage trueColour(const QImage& picture) {
    QImage opaque = opaquePicture(picture);
    if (opaque.format() != QImage::Format_RGB32) {
        opaque.convertTo(QImage::Format_RGB32);
    }
    return opaque;
}

int interpolate(int factor, int fromFactor, int toFactor, int fromQuality, int toQuality) {
    return fromQuality +
           (factor - fromFactor) * (toQuality - fromQuality) / (toFactor - fromFactor);
}

}  // namespace

void writeBitmapFile(const QImage& picture, const QString& fileName) {
    writeWith(trueColour(picture), fileName, "bmp", -1);
}

void writePngFile(const QImage& picture, const QString& fileName) {
    writeWith(trueColour(picture), fileName, "png", -1);
}

std::optional<SavedFormat> savedFormatOf(const QString& fileName) {
    const qsizetype dot = extensionDot(fileName);
    if (dot < 0) {
        return std::nullopt;
    }
    const QString extension = fileName.mid(dot + 1).toLower();
    if (extension == QLatin1String("bmp")) {
        return SavedFormat::Bitmap;
    }
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
        return SavedFormat::Jpeg;
    }
    if (extension == QLatin1String("png")) {
        return SavedFormat::Png;
    }
    return std::nullopt;
}

QString extensionOf(SavedFormat format) {
    switch (format) {
        case SavedFormat::Bitmap:
            return QStringLiteral(".bmp");
        case SavedFormat::Jpeg:
            return QStringLiteral(".jpg");
        case SavedFormat::Png:
            return QStringLiteral(".png");
    }
    return {};
}

void writeJpegFile(const QImage& picture, const QString& fileName, int qualityFactor) {
    writeWith(trueColour(picture), fileName, "jpeg", jpegQualityOf(qualityFactor));
}

int jpegQualityOf(int qualityFactor) {
    const int factor = std::clamp(qualityFactor, 2, 255);
    if (factor <= 25) {
        return interpolate(factor, 2, 25, 100, 85);
    }
    return interpolate(factor, 25, 255, 85, 5);
}

}  // namespace pictarium
