#include "imaging/picture_decoding_p.h"

#include "base/run_errors.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/bmp_decoder.h"
#include "imaging/core/display_colours.h"
#include "imaging/core/opaque_picture.h"
#include "imaging/decoders/clipboard_file_decoder.h"
#include "imaging/decoders/flashpix_decoder.h"
#include "imaging/decoders/gem_image_decoder.h"
#include "imaging/decoders/icon_decoder.h"
#include "imaging/decoders/msp_decoder.h"
#include "imaging/decoders/pc_paint_decoder.h"
#include "imaging/decoders/photoshop_decoder.h"
#include "imaging/decoders/pict_decoder.h"
#include "imaging/decoders/plain_pbm_decoder.h"
#include "imaging/decoders/sun_raster_decoder.h"
#include "imaging/decoders/targa_decoder.h"
#include "imaging/eps_decoder_p.h"
#include "imaging/heif_picture_decoder_p.h"
#include "imaging/libtiff_picture_decoder_p.h"
#include "imaging/magick_picture_decoder_p.h"
#include "imaging/metafile/emf_reader.h"
#include "imaging/metafile/wmf_reader.h"
#include "imaging/picture_completeness_p.h"
#include "imaging/picture_file_bytes_p.h"
#include "imaging/picture_orientation_p.h"
#include "imaging/qt_picture_decoder_p.h"

#include <QColorSpace>

#include <algorithm>
#include <new>

namespace pictarium {

namespace {

const char* qtFormatOf(PictureFormat format) {
    switch (format) {
        case PictureFormat::Gif:
            return "gif";
        case PictureFormat::Jpeg:
            return "jpeg";
        case PictureFormat::Png:
            return "png";
        default:
            return nullptr;
    }
}

const char* magickCoderOf(PictureFormat format) {
    switch (format) {
        case PictureFormat::SiliconGraphics:
            return "SGI";
        case PictureFormat::MultiPagePcx:
            return "DCX";
        case PictureFormat::Pcx:
            return "PCX";
        case PictureFormat::WordPerfect:
            return "WPG";
        case PictureFormat::PhotoCd:
            return "PCD";
        case PictureFormat::Cals:
            return "CALS";
        case PictureFormat::Scitex:
            return "SCT";
        case PictureFormat::DrHalo:
            return "CUT";
        default:
            return nullptr;
    }
}

// Magick++ reads MacPaint files as they come off a Mac, behind a 128-byte
// MacBinary header; files copied without it get an empty one.
QImage decodeMacPaint(QByteArrayView bytes) {
    constexpr qsizetype MacBinaryHeaderSize = 128;
    const bool hasMacBinaryHeader =
        bytes.size() > MacBinaryHeaderSize && bytes.sliced(65, 4) == QByteArrayView("PNTG");
    if (hasMacBinaryHeader) {
        return decodeWithMagick(bytes, "MAC");
    }
    QByteArray wrapped(MacBinaryHeaderSize, '\0');
    wrapped.append(bytes.data(), bytes.size());
    return decodeWithMagick(wrapped, "MAC");
}

// Some readers return what they could decode of a file cut short (Qt's GIF
// and JPEG readers, the bitmap reader, Magick++'s MacPaint and WPG readers);
// such files are refused.
bool isCompleteForItsReader(PictureFormat format, QByteArrayView bytes) {
    switch (format) {
        case PictureFormat::Bitmap:
            return isCompleteBitmap(bytes);
        case PictureFormat::Gif:
            return isCompleteGif(bytes);
        case PictureFormat::Jpeg:
            return isCompleteJpeg(bytes);
        case PictureFormat::MacPaint:
            return isCompleteMacPaint(bytes);
        case PictureFormat::WordPerfect:
            return isCompleteWordPerfect(bytes);
        default:
            return true;
    }
}

// Our own reader first; ImageMagick for what it refuses. Where ours is
// libtiff's RGBA interface, ImageMagick takes the sample sizes it leaves
// (24 and 32 bits, floating point) and L*a*b*; where ours is our own
// decoder, the variants it does not read.
QImage orImageMagick(QImage picture, QByteArrayView bytes, const char* coder) {
    return picture.isNull() ? decodeWithMagick(bytes, coder) : picture;
}

// Qt's reader wants blanks between the bits of a plain PBM file, which
// the format leaves optional: ours reads those.
QImage decodePortableAnymap(QByteArrayView bytes) {
    return bytes.startsWith("P1") ? decodePlainPbm(bytes) : decodeWithQt(bytes, "ppm");
}

// Of a PNG's colour chunks only an ICC profile is applied. Its gamma and
// chromaticities are mostly written by default, not chosen (every picture
// of the format's own suite says gamma 1.0), and viewers show the samples
// as they stand; Qt's reader would turn them into a colour space.
QImage decodePng(QByteArrayView bytes) {
    QImage picture = decodeWithQt(bytes, "png");
    if (!hasChunkBeforePixels(bytes, "iCCP")) {
        picture.setColorSpace(QColorSpace());
    }
    return picture;
}

// Qt's reader leaves the orientation in the EXIF chunk to the caller.
QImage decodeWebp(QByteArrayView bytes) {
    return uprightPicture(decodeWithQt(bytes, "webp"), exifOrientation(webpExif(bytes)));
}

// Bitmaps (RLE ones included), icons, GIF and JPEG files, and metafiles.
bool isPlatformFormat(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bitmap:
        case PictureFormat::PackedDib:
        case PictureFormat::Icon:
        case PictureFormat::Gif:
        case PictureFormat::Jpeg:
        case PictureFormat::Metafile:
        case PictureFormat::EnhancedMetafile:
            return true;
        default:
            return false;
    }
}

}  // namespace

QImage decodePicture(PictureFormat format, QByteArrayView bytes, const QString& path) {
    if (format == PictureFormat::Jpeg) {
        const qsizetype start = jpegStreamStart(bytes);
        if (start < 0) {
            return {};
        }
        bytes = bytes.sliced(start);
    }
    const QByteArray firstOfArray =
        format == PictureFormat::Bitmap ? firstBitmapOfArray(bytes) : QByteArray();
    if (!firstOfArray.isEmpty()) {
        bytes = firstOfArray;
    }
    if (!isCompleteForItsReader(format, bytes)) {
        return {};
    }
    if (format == PictureFormat::Tiff) {
        return orImageMagick(decodeTiffWithLibtiff(bytes), bytes, "TIFF");
    }
    if (format == PictureFormat::Png && hasDeepTransparentColour(bytes)) {
        return decodeWithMagick(bytes, "PNG");
    }
    if (format == PictureFormat::PortableAnymap) {
        return decodePortableAnymap(bytes);
    }
    if (format == PictureFormat::Png) {
        return decodePng(bytes);
    }
    if (format == PictureFormat::WebP) {
        return decodeWebp(bytes);
    }
    if (const char* qtFormat = qtFormatOf(format)) {
        return decodeWithQt(bytes, qtFormat);
    }
    if (const char* coder = magickCoderOf(format)) {
        return decodeWithMagick(bytes, coder);
    }
    switch (format) {
        case PictureFormat::Bitmap:
            // The engine's own reader: it also rebuilds stored pictures.
            requireBitmapWithinPixelLimit(bytes);
            return pictureFromBitmapFile(QByteArray::fromRawData(bytes.data(), bytes.size()));
        case PictureFormat::MacPaint:
            return decodeMacPaint(bytes);
        case PictureFormat::MicrosoftPaint:
            return decodeMspPicture(bytes);
        case PictureFormat::SunRaster:
            return decodeSunRaster(bytes);
        case PictureFormat::Icon:
            return decodeIcon(bytes);
        case PictureFormat::Pict:
            return orImageMagick(decodePict(bytes), bytes, "PICT");
        case PictureFormat::Targa:
            return orImageMagick(decodeTarga(bytes), bytes, "TGA");
        case PictureFormat::Photoshop:
            return orImageMagick(decodePhotoshop(bytes), bytes, "PSD");
        case PictureFormat::PcPaint:
            return decodePcPaintPicture(bytes);
        case PictureFormat::ClipboardFile:
            return decodeClipboardFile(bytes);
        case PictureFormat::PackedDib:
            return decodePackedDib(bytes);
        case PictureFormat::GemImage:
            return decodeGemImage(bytes);
        case PictureFormat::FlashPix:
            return decodeFlashPix(bytes);
        case PictureFormat::Heif:
            return decodeHeif(bytes);
        case PictureFormat::EnhancedMetafile:
            return decodeEnhancedMetafile(bytes);
        case PictureFormat::Metafile:
            return decodeWindowsMetafile(bytes);
        case PictureFormat::PostScript:
            return decodeEncapsulatedPostScript(path, bytes);
        default:
            return {};
    }
}

namespace {

PictureFormat formatToRead(QByteArrayView bytes, const PictureFileName& name,
                           PictureLoader loader) {
    const PictureFormat sniffed =
        sniffPictureFormat(bytes.first(std::min(bytes.size(), SniffLength)));
    if (loader == PictureLoader::Platform) {
        return isPlatformFormat(sniffed) ? sniffed : PictureFormat::Unknown;
    }
    if (sniffed != PictureFormat::Unknown) {
        return sniffed;
    }
    return formatWithoutSignature(name.extension);
}

}  // namespace

QImage loadPictureFile(const PictureFileName& name, PictureLoader loader) {
    try {
        const PictureFileBytes file(name.path);
        const QByteArrayView bytes = file.bytes();
        QImage picture = decodePicture(formatToRead(bytes, name, loader), bytes, name.path);
        if (picture.isNull()) {
            throw RunFailure(RunError::InvalidPicture);
        }
        return opaquePicture(inDisplayColours(std::move(picture)));
    } catch (const std::bad_alloc&) {
        throw RunFailure(RunError::OutOfMemory);
    }
}

QImage LoadPicture(const PictureFileName& name) {
    return loadPictureFile(name, PictureLoader::Platform);
}

}  // namespace pictarium
