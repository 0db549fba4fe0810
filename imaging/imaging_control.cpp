#include "imaging/imaging_control.h"

#include "base/run_errors.h"
#include "imaging/core/opaque_picture.h"
#include "imaging/picture_decoding_p.h"
#include "imaging/picture_writer.h"

namespace pictarium {

namespace {

constexpr std::int16_t TrueColourBits = 24;

}  // namespace

void ImagingControl::LoadImage(const QString& fileName, std::int16_t bits, std::int32_t page,
                               std::int32_t pages) {
    LoadImage(PictureFileName(fileName), bits, page, pages);
}

void ImagingControl::LoadImage(const PictureFileName& file, std::int16_t bits,
                               std::int32_t /*page*/, std::int32_t /*pages*/) {
    mPicture = loadPictureFile(file, PictureLoader::Imaging);
    if (bits != 0) {
        ConvertColorDepth(bits, 0, 0, 0);
    }
}

void ImagingControl::TakePicture(const QImage& picture) {
    if (picture.isNull()) {
        throw RunFailure(RunError::InvalidPicture);
    }
    mPicture = picture;
}

void ImagingControl::ConvertColorDepth(std::int16_t bits, std::int16_t /*colourFlags*/,
                                       std::int16_t /*palette*/, std::int16_t /*dither*/) {
    requirePicture();
    if (bits != TrueColourBits) {
        throw RunFailure(RunError::InvalidProcedureCall);
    }
    QImage converted = opaquePicture(mPicture);
    converted.convertTo(QImage::Format_RGB32);
    if (converted.isNull()) {
        throw RunFailure(RunError::OutOfMemory);
    }
    mPicture = converted;
}

std::int16_t ImagingControl::ImageBits() const {
    if (mPicture.isNull()) {
        return 0;
    }
    if (mPicture.depth() == 1) {
        return 1;
    }
    if (mPicture.colorCount() > 0 || mPicture.format() == QImage::Format_Grayscale8) {
        return 8;
    }
    return mPicture.hasAlphaChannel() ? 32 : TrueColourBits;
}

void ImagingControl::SaveImage(const QString& fileName, std::int16_t format, std::int16_t bits,
                               std::int16_t quality, std::int16_t /*options*/) const {
    requirePicture();
    if (bits != 0 && bits != TrueColourBits) {
        throw RunFailure(RunError::InvalidProcedureCall);
    }
    switch (format) {
        case BitmapFormat:
            writeBitmapFile(mPicture, fileName);  // the quality means nothing to BMP
            return;
        case JfifFormat:
            writeJpegFile(mPicture, fileName, quality);
            return;
        case PngFormat:
            writePngFile(mPicture, fileName);
            return;
        default:
            throw RunFailure(RunError::InvalidProcedureCall);
    }
}

void ImagingControl::setImageHandle(std::int16_t handle) {
    if (handle != 0) {
        throw RunFailure(RunError::InvalidPropertyValue);
    }
    mPicture = QImage();
}

void ImagingControl::requirePicture() const {
    if (mPicture.isNull()) {
        throw RunFailure(RunError::InvalidPicture);
    }
}

}  // namespace pictarium
