#include "tests/imaging/library_samples.h"

#include "imaging/libtiff_handler_guard_p.h"

#include <Magick++.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include <list>
#include <memory>

namespace pictarium::test {

namespace {

MagickCore::ImageType imageTypeOf(const std::string& name) {
    if (name == "Palette") {
        return MagickCore::PaletteType;
    }
    if (name == "Bilevel") {
        return MagickCore::BilevelType;
    }
    if (name == "Grayscale") {
        return MagickCore::GrayscaleType;
    }
    if (name == "PaletteMatte") {
        return MagickCore::PaletteMatteType;
    }
    if (name == "TrueColorMatte") {
        return MagickCore::TrueColorMatteType;
    }
    return MagickCore::TrueColorType;
}

Magick::Image toMagick(const QImage& picture, const MagickOptions& options) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    Magick::Image image(std::size_t(argb.width()), std::size_t(argb.height()), "BGRA",
                        Magick::CharPixel, argb.constBits());
    image.matte(picture.hasAlphaChannel());
    // Said, so that writers which keep an orientation (TGA) write the rows
    // as they say: left undefined, Magick++ stores a TGA top row first yet
    // marks it bottom-up.
    image.orientation(MagickCore::TopLeftOrientation);
    if (!options.type.empty()) {
        image.type(imageTypeOf(options.type));
    }
    if (options.compression == "RLE") {
        image.compressType(MagickCore::RLECompression);
    } else if (options.compression == "None") {
        image.compressType(MagickCore::NoCompression);
    } else if (options.compression == "Group4") {
        image.compressType(MagickCore::Group4Compression);
    }
    if (options.colourSpace == "CMYK") {
        image.colorSpace(MagickCore::CMYKColorspace);
    } else if (options.colourSpace == "Lab") {
        image.colorSpace(MagickCore::LabColorspace);
    }
    if (options.depth != 0) {
        image.depth(options.depth);
    }
    if (options.planar) {
        image.interlaceType(MagickCore::PlaneInterlace);
    }
    if (options.floating) {
        image.defineValue("quantum", "format", "floating-point");
    }
    if (!options.iccProfile.isEmpty()) {
        image.iccColorProfile(Magick::Blob(options.iccProfile.constData(),
                                           static_cast<std::size_t>(options.iccProfile.size())));
    }
    return image;
}

QByteArray fromBlob(const Magick::Blob& blob) {
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
}

}  // namespace

QByteArray writtenByQt(const QImage& picture, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(picture)) {
        return {};
    }
    return bytes;
}

QByteArray writtenByMagick(const QImage& picture, const std::string& format,
                           const MagickOptions& options) {
    const LibtiffHandlerGuard libtiffHandlers;
    Magick::Image image = toMagick(picture, options);
    image.magick(format);
    Magick::Blob blob;
    image.write(&blob);
    return fromBlob(blob);
}

QByteArray writtenByMagick(const QList<QImage>& pictures, const std::string& format,
                           const MagickOptions& options) {
    const LibtiffHandlerGuard libtiffHandlers;
    std::list<Magick::Image> images;
    for (const QImage& picture : pictures) {
        images.push_back(toMagick(picture, options));
        images.back().magick(format);
    }
    Magick::Blob blob;
    Magick::writeImages(images.begin(), images.end(), &blob, true);
    return fromBlob(blob);
}

QByteArray faxCodedByLibtiff(const QImage& picture, bool fillBits) {
    const QTemporaryDir folder;
    const QByteArray path = folder.filePath("fax.tif").toLocal8Bit();
    const auto close = [](TIFF* file) { TIFFClose(file); };
    {
        const std::unique_ptr<TIFF, decltype(close)> file(TIFFOpen(path.constData(), "w"), close);
        if (!file) {
            return {};
        }
        TIFFSetField(file.get(), TIFFTAG_IMAGEWIDTH, picture.width());
        TIFFSetField(file.get(), TIFFTAG_IMAGELENGTH, picture.height());
        TIFFSetField(file.get(), TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(file.get(), TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(file.get(), TIFFTAG_ROWSPERSTRIP, picture.height());
        TIFFSetField(file.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(file.get(), TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(file.get(), TIFFTAG_GROUP3OPTIONS, fillBits ? GROUP3OPT_FILLBITS : 0);
        const QImage mono = picture.convertToFormat(QImage::Format_Mono);
        for (int y = 0; y < mono.height(); ++y) {
            QByteArray row(reinterpret_cast<const char*>(mono.constScanLine(y)),
                           (mono.width() + 7) / 8);
            if (TIFFWriteScanline(file.get(), row.data(), static_cast<std::uint32_t>(y), 0) < 0) {
                return {};
            }
        }
    }
    const std::unique_ptr<TIFF, decltype(close)> file(TIFFOpen(path.constData(), "r"), close);
    if (!file) {
        return {};
    }
    QByteArray codes(static_cast<qsizetype>(TIFFRawStripSize(file.get(), 0)), '\0');
    if (TIFFReadRawStrip(file.get(), 0, codes.data(), codes.size()) != codes.size()) {
        return {};
    }
    return codes;
}

}  // namespace pictarium::test
