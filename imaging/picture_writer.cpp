#include "imaging/picture_writer.h"

#include "base/binary_file.h"
#include "base/file_operations.h"
#include "base/path_parts.h"
#include "base/run_errors.h"
#include "imaging/core/opaque_picture.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>

namespace pictarium {

namespace {

// Encoded whole, then written beside the file and put in its place in one
// step, so that a write that fails (a full disk) leaves the file that was
// there.
void writeWith(const QImage& picture, const QString& fileName, const QByteArray& format,
               int quality) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    if (!writer.write(picture)) {
        throw RunFailure(RunError::DeviceIoError);
    }
    const QString staging = swapStagingPath(fileName);
    try {
        BinaryFile file = BinaryFile::create(staging);
        file.write(encoded.constData(), static_cast<std::size_t>(encoded.size()));
        file.close();
        replaceFile(staging, fileName);
    } catch (...) {
        removeFileQuietly(staging);
        throw;
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
