#include "imaging/magick_picture_decoder_p.h"

#include "imaging/core/bitmap_codec.h"
#include "imaging/core/display_colours.h"
#include "imaging/libtiff_handler_guard_p.h"

#include <Magick++.h>

#include <QtGlobal>

#include <cstring>

namespace pictarium {

namespace {

void initializeMagickOnce() {
    static const bool initialized = [] {
        Magick::InitializeMagick(nullptr);
        return true;
    }();
    (void)initialized;
}

// Throws PictureTooLarge over the pixel limit; false for an empty picture.
bool hasSizeWithinLimit(std::size_t columns, std::size_t rows) {
    if (columns == 0 || rows == 0) {
        return false;
    }
    requireWithinPixelLimit(static_cast<std::int64_t>(columns), static_cast<std::int64_t>(rows));
    return true;
}

void prepare(Magick::Image& image, const char* coder) {
    image.magick(coder);
    // A PhotoCD's scene number picks its resolution; left alone, it gives
    // the 768 x 512 base image. Elsewhere only the first picture is read.
    if (std::strcmp(coder, "PCD") != 0) {
        image.subImage(0);
        image.subRange(1);
    }
    image.backgroundColor(Magick::Color("white"));
}

// Reads the header only, so that a huge size is refused before any pixel
// is decoded.
bool headerFits(const Magick::Blob& blob, const char* coder) {
    Magick::Image header;
    prepare(header, coder);
    header.quiet(true);
    header.ping(blob);
    return hasSizeWithinLimit(header.columns(), header.rows());
}

// Damage shows as a corrupt-image warning; other warnings (an unknown
// tag, a missing profile) leave a whole picture behind.
bool readWhole(Magick::Image& image, const Magick::Blob& blob) {
    try {
        image.read(blob);
    } catch (const Magick::WarningCorruptImage&) {
        return false;
    } catch (const Magick::Warning&) {
    }
    return image.isValid();
}

QImage toQImage(Magick::Image& image) {
    const std::size_t columns = image.columns();
    const std::size_t rows = image.rows();
    if (!hasSizeWithinLimit(columns, rows)) {
        return {};
    }
    const MagickCore::ColorspaceType space = image.colorSpace();
    // Linear RGB and grey are how ImageMagick reads a PNG's gamma of 1.0:
    // their samples are taken as they stand, as the PNG reader takes them.
    const bool rgb = space == MagickCore::sRGBColorspace || space == MagickCore::RGBColorspace;
    const bool grey =
        space == MagickCore::GRAYColorspace || space == MagickCore::LinearGRAYColorspace;
    if (!rgb && !grey) {
        image.colorSpace(MagickCore::sRGBColorspace);
    }
    const bool alpha = image.matte();
    QImage picture(int(columns), int(rows), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) {
        return {};
    }
    // QImage keeps 32-bit pixels as 0xAARRGGBB words, with no row padding.
    const char* layout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "BGRA" : "ARGB";
    image.write(0, 0, columns, rows, layout, Magick::CharPixel, picture.bits());
    if (rgb) {
        const Magick::Blob profile = image.iccColorProfile();
        picture.setColorSpace(colourSpaceOfProfile(QByteArrayView(
            static_cast<const char*>(profile.data()), static_cast<qsizetype>(profile.length()))));
    }
    return picture;
}

}  // namespace

QImage decodeWithMagick(QByteArrayView bytes, const char* coder) {
    const LibtiffHandlerGuard libtiffHandlers;
    initializeMagickOnce();
    try {
        const Magick::Blob blob(bytes.data(), std::size_t(bytes.size()));
        if (!headerFits(blob, coder)) {
            return {};
        }
        Magick::Image image;
        prepare(image, coder);
        if (!readWhole(image, blob)) {
            return {};
        }
        return toQImage(image);
    } catch (const Magick::Exception&) {
        return {};
    }
}

}  // namespace pictarium
