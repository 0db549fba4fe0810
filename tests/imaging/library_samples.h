#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

#include <string>

namespace pictarium::test {

// Sample files written by the libraries and programs that can write their
// format.

// Qt's writer for `format` ("bmp", "png", "jpeg", "tiff"); `quality` as
// QImageWriter takes it.
[[nodiscard]] QByteArray writtenByQt(const QImage& picture, const char* format, int quality = -1);

struct MagickOptions {
    std::string type;         // "TrueColor", "TrueColorMatte", "Palette", "Bilevel", or the default
    std::string compression;  // "RLE", "None", "Group4", or empty for the writer's default
    std::string colourSpace = {};  // "CMYK", "Lab", or empty for RGB
    std::size_t depth = 0;         // bits a sample; 0 for the writer's default
    bool planar = false;           // one plane a channel rather than interleaved samples
    bool floating = false;         // floating-point samples
    QByteArray iccProfile = {};    // an embedded colour profile, or none
    std::size_t quality = 0;       // of lossy writers, 1 to 100; 0 for the writer's default
    int orientation = 1;           // as TIFF numbers it: 1 top-left, up to 8 left-bottom
};

// Magick++'s writer for `format` ("TGA", "PCX", "BMP3", ...).
[[nodiscard]] QByteArray writtenByMagick(const QImage& picture, const std::string& format,
                                         const MagickOptions& options = {});

// Several pictures in one file (GIF frames, icon sizes, TIFF or DCX pages).
[[nodiscard]] QByteArray writtenByMagick(const QList<QImage>& pictures, const std::string& format,
                                         const MagickOptions& options = {});

enum class HeifCodec { Hevc, Av1 };

// libheif's writer: a HEIC file (HEVC) or an AVIF file (AV1) of the
// picture, with `iccProfile` when not empty, and marked with an EXIF-style
// `orientation` (1 to 8) that its irot and imir boxes record.
[[nodiscard]] QByteArray writtenByLibheif(const QImage& picture, HeifCodec codec,
                                          const QByteArray& iccProfile = {}, int orientation = 1);

// The rows of a one-bit picture coded by libtiff as a group 3 fax in one
// dimension, white where the picture's index is 0, an end of line before
// each row; with `fillBits`, zeros pad each end of line to end a byte.
[[nodiscard]] QByteArray faxCodedByLibtiff(const QImage& picture, bool fillBits);

// Netpbm's converter `program` ("pbmtogem", "pbmtomacp") fed the
// black and white picture.
[[nodiscard]] QByteArray writtenByNetpbm(const QImage& monochrome, const QString& program);

}  // namespace pictarium::test
