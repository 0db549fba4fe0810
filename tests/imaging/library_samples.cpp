#include "tests/imaging/library_samples.h"

#include "imaging/libtiff_handler_guard_p.h"

#include <Magick++.h>
#include <libheif/heif.h>

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
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
    if (options.quality != 0) {
        image.quality(options.quality);
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

QByteArray writtenByLibheif(const QImage& picture, HeifCodec codec, const QByteArray& iccProfile,
                            int orientation) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const std::unique_ptr<heif_context, void (*)(heif_context*)> context(heif_context_alloc(),
                                                                         heif_context_free);
    heif_image* created = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &created);
    const std::unique_ptr<heif_image, void (*)(const heif_image*)> image(created,
                                                                         heif_image_release);
    heif_image_add_plane(image.get(), heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    std::uint8_t* rows = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(rows + std::ptrdiff_t(y) * stride, rgb.constScanLine(y), 3 * rgb.width());
    }
    if (!iccProfile.isEmpty()) {
        heif_image_set_raw_color_profile(image.get(), "prof", iccProfile.constData(),
                                         std::size_t(iccProfile.size()));
    }
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(
        context.get(), codec == HeifCodec::Av1 ? heif_compression_AV1 : heif_compression_HEVC,
        &encoder);
    heif_encoder_set_lossy_quality(encoder, 95);
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = static_cast<heif_orientation>(orientation);
    heif_context_encode_image(context.get(), image.get(), encoder, options, nullptr);
    heif_encoding_options_free(options);
    heif_encoder_release(encoder);

    QByteArray bytes;
    heif_writer writer{};
    writer.writer_api_version = 1;
    writer.write = [](heif_context*, const void* data, std::size_t size, void* target) {
        static_cast<QByteArray*>(target)->append(static_cast<const char*>(data), qsizetype(size));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
    };
    heif_context_write(context.get(), &writer, &bytes);
    return bytes;
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

QByteArray writtenByNetpbm(const QImage& monochrome, const QString& program) {
    QProcess converter;
    converter.start(program, {});
    converter.write(writtenByQt(monochrome, "pbm"));
    converter.closeWriteChannel();
    if (!converter.waitForFinished() || converter.exitCode() != 0) {
        return {};
    }
    return converter.readAllStandardOutput();
}

}  // namespace pictarium::test
