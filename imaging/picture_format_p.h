#pragma once

#include <QByteArrayView>
#include <QString>

namespace pictarium {

// The picture formats the imaging layer tells apart, grouped by who
// decodes them.
enum class PictureFormat {
    Unknown,
    // Qt's own readers
    Bitmap,
    Gif,
    Icon,
    Jpeg,
    Png,
    Tiff,
    PortableAnymap,
    WebP,
    // Magick++
    Metafile,
    Photoshop,
    SiliconGraphics,
    SunRaster,
    MultiPagePcx,
    Pcx,
    WordPerfect,
    PhotoCd,
    Pict,
    Cals,
    Scitex,
    Targa,
    MacPaint,
    DrHalo,
    // our own decoders
    MicrosoftPaint,
    PcPaint,
    ClipboardFile,
    PackedDib,  // a bitmap without its file header
    GemImage,
    FlashPix,
    EnhancedMetafile,  // the metafile player of imaging/metafile
    // libheif: HEIC and AVIF alike
    Heif,
    // Ghostscript
    PostScript,
};

// How many leading bytes of a file the recognition looks at.
inline constexpr qsizetype SniffLength = 4096;

// The format whose signature the file's first bytes carry.
[[nodiscard]] PictureFormat sniffPictureFormat(QByteArrayView head);

// For the formats that carry no signature: the format the file's
// extension (upper-case, as GetFileExtension gives it) stands for.
[[nodiscard]] PictureFormat formatWithoutSignature(const QString& extension);

// Whether a PNG file of 16-bit samples names a transparent colour, which
// Qt's reader draws as stripes.
[[nodiscard]] bool hasDeepTransparentColour(QByteArrayView png);

// Whether a PNG file holds a chunk of `type` ("iCCP", "tRNS"...) before its pixels.
[[nodiscard]] bool hasChunkBeforePixels(QByteArrayView png, QByteArrayView type);

// Where the JPEG stream starts among the first 64 KiB of the bytes: 0 for
// a plain JPEG file, -1 when there is none.
[[nodiscard]] qsizetype jpegStreamStart(QByteArrayView bytes);

}  // namespace pictarium
