#include "tests/imaging/library_samples.h"

#include "imaging/libtiff_handler_guard_p.h"

#include <Magick++.h>

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>

#include <list>
#include <map>
#include <memory>

namespace pictarium::test {

namespace {

Magick::Image toMagick(const QImage& picture, const MagickOptions& options) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    Magick::Image image(std::size_t(argb.width()), std::size_t(argb.height()), "BGRA",
                        Magick::CharPixel, argb.constBits());
    image.matte(picture.hasAlphaChannel());
    // Said, so that writers which keep an orientation (TGA) write the rows
    // as they say: left undefined, Magick++ stores a TGA top row first yet
    // marks it bottom-up.
    image.orientation(static_cast<MagickCore::OrientationType>(options.orientation));
    static const std::map<std::string, MagickCore::ImageType> types = {
        {"Palette", MagickCore::PaletteType},
        {"Bilevel", MagickCore::BilevelType},
        {"TrueColor", MagickCore::TrueColorType},
        {"TrueColorMatte", MagickCore::TrueColorMatteType}};
    static const std::map<std::string, MagickCore::CompressionType> compressions = {
        {"RLE", MagickCore::RLECompression},
        {"None", MagickCore::NoCompression},
        {"Group4", MagickCore::Group4Compression}};
    static const std::map<std::string, MagickCore::ColorspaceType> spaces = {
        {"CMYK", MagickCore::CMYKColorspace}, {"Lab", MagickCore::LabColorspace}};
    if (!options.type.empty()) {
        image.type(types.at(options.type));
    }
    if (!options.compression.empty()) {
        image.compressType(compressions.at(options.compression));
    }
    if (!options.colourSpace.empty()) {
        image.colorSpace(spaces.at(options.colourSpace));
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
    return writtenByMagick(QList<QImage>{picture}, format, options);
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
    return QByteArray(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
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
