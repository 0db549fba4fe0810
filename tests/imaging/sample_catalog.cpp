#include "tests/imaging/sample_catalog.h"

#include "tests/imaging/flashpix_writer.h"
#include "tests/imaging/hand_built_samples.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/metafile/emf_writer.h"
#include "tests/imaging/reference_pictures.h"

#include "base/byte_order.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pictarium::test {

namespace {

constexpr int JpegTolerance = 24;      // 4:2:0 chroma bleeds across the block edges
constexpr int RenderedTolerance = 40;  // anti-aliased edges of metafiles and EPS
constexpr int PhotoCdTolerance = 70;   // PhotoYCC keeps saturated colours only roughly

QImage solid(int width, int height, QRgb colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// The colour reference with its top-left block fully transparent.
QImage withTransparentCorner(bool layOnWhite) {
    QImage picture = colourReference().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            picture.setPixel(x, y, layOnWhite ? qRgb(255, 255, 255) : qRgba(0, 0, 0, 0));
        }
    }
    return layOnWhite ? picture.convertToFormat(QImage::Format_RGB32) : picture;
}

// The 576 x 720 page that pbmtomacp centres the reference on.
QImage macPaintPage() {
    QImage page = solid(576, 720, qRgb(255, 255, 255));
    const QImage reference = monochromeReference();
    const QPoint corner((576 - reference.width()) / 2, (720 - reference.height()) / 2);
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            page.setPixel(corner + QPoint(x, y), reference.pixel(x, y));
        }
    }
    return page;
}

QByteArray notAPicture() {
    QByteArray bytes;
    for (int i = 0; i < 600; ++i) {
        bytes.append(static_cast<char>((i * 37 + 11) % 251));
    }
    return bytes;
}

// The bitmap file as the one entry of an OS/2 bitmap array, whose offsets
// count from the array's start.
QByteArray inBitmapArray(QByteArray bitmap) {
    putInt32(bitmap.data() + 10, getInt32(bitmap.constData() + 10) + 14);
    return "BA" + QByteArray(12, '\0') + bitmap;
}

// The JPEG stream with bytes that are no marker after its first segment,
// as Photoshop leaves them; libjpeg steps over them with a warning.
QByteArray withJunkBetweenSegments(QByteArray jpeg) {
    const qsizetype firstSegmentEnd =
        4 + ((static_cast<unsigned char>(jpeg[4]) << 8) | static_cast<unsigned char>(jpeg[5]));
    jpeg.insert(firstSegmentEnd, QByteArray("\x00\x01junk", 6));
    return jpeg;
}

std::vector<Sample> buildSamples() {
    const QImage colour = colourReference();
    const QImage mono = monochromeReference();
    const QImage sixteen = sixteenColourReference();
    const QImage grey = greyReference();
    const QImage blue = solid(24, 16, qRgb(0, 0, 255));
    const QByteArray jpeg = writtenByQt(colour, "jpeg", 95);
    const MagickOptions fine{.type = "TrueColor", .compression = "", .quality = 90};
    const QByteArray heic = writtenByMagick(colour, "HEIC", fine);
    const QByteArray macPaint = writtenByNetpbm(mono, "pbmtomacp");
    const QByteArray macBinaryHeader =
        ByteWriter().u8(0).u8(6).bytes("sample").padTo(65).bytes("PNTGMPNT").padTo(128).result();
    return {
        {"bitmap-24.bmp", writtenByQt(colour, "bmp"), colour},
        {"bitmap-8.BMP", writtenByMagick(colour, "BMP3", {"Palette", ""}), colour},
        {"bitmap-1.bmp", writtenByMagick(mono, "BMP3", {"Bilevel", ""}), mono},
        {"bitmap-os2.bmp", writtenByMagick(colour, "BMP2", {"Palette", ""}), colour},
        {"bitmap-array.bmp", inBitmapArray(writtenByQt(colour, "bmp")), colour},
        // A clipboard DIB saved as it is: 32-bit bit fields, no file header.
        {"clipboard-dib.bmp", writtenByMagick(colour, "BMP", {"TrueColorMatte", ""}).sliced(14),
         colour},
        {"bitmap-alpha.bmp", writtenByMagick(transparentReference(), "BMP", {"TrueColorMatte", ""}),
         transparentReferenceOnWhite(), 1},
        {"run-length.rle", writtenByMagick(colour, "BMP3", {"Palette", "RLE"}), colour},
        {"clip-art.wmf", windowsMetafile(), redBlueHalves(), RenderedTolerance, 8},
        {"drawing.emf", EmfWriter(48, 32).finish(), solid(48, 32, qRgb(255, 255, 255))},
        {"icon.ico", writtenByMagick({solid(12, 8, qRgb(0, 255, 0)), colour}, "ICO"), colour},
        {"animation.gif", writtenByMagick({colour, solid(24, 16, qRgb(0, 0, 255))}, "GIF"), colour},
        {"no-trailer.gif", writtenByMagick(colour, "GIF").chopped(1), colour},
        // The start of another file where the trailer should be.
        {"then-another.gif",
         writtenByMagick(colour, "GIF").chopped(1) + writtenByMagick(colour, "GIF").first(13),
         colour},
        {"transparent.gif", writtenByMagick(withTransparentCorner(false), "GIF"),
         withTransparentCorner(true)},
        {"Camera Photo.JpG", jpeg, colour, JpegTolerance, 8},
        {"lead.cmp", jpeg, colour, JpegTolerance, 8},
        {"jfif.jff", jpeg, colour, JpegTolerance, 8},
        {"jpeg-tiff.jtf", jpeg, colour, JpegTolerance, 8},
        // Bytes of another program before the stream.
        {"after-junk.jpg", QByteArray("JUNK\0\x01\x02", 7) + jpeg, colour, JpegTolerance, 8},
        {"segment-junk.jpg", withJunkBetweenSegments(jpeg), colour, JpegTolerance, 8},
        {"camera.jpeg", jpeg, colour, JpegTolerance, 8},
        {"camera.JPE", jpeg, colour, JpegTolerance, 8},
        {"camera.jfif", jpeg, colour, JpegTolerance, 8},
        {"web.webp", writtenByMagick(colour, "WEBP", fine), colour, JpegTolerance, 8},
        {"phone.heic", heic, colour, JpegTolerance, 8},
        {"phone.HEIF", heic, colour, JpegTolerance, 8},
        {"web.avif", writtenByMagick(colour, "AVIF", fine), colour, JpegTolerance, 8},
        {"proprietary.cmp", notAPicture(), QImage()},
        {"scan.tif", writtenByQt(colour, "tiff"), colour},
        {"scan.tiff", writtenByQt(colour, "tiff"), colour},
        {"pages.mpt", writtenByMagick({colour, blue}, "TIFF"), colour},
        // What Qt's TIFF reader refuses or draws wrong.
        {"cmyk.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "CMYK"}), colour, 1},
        {"lab.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "Lab"}), colour, 2},
        {"planar-16.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "", 16, true}), colour,
         1},
        {"samples-4.tif", writtenByMagick(sixteen, "TIFF", {"TrueColor", "None", "", 4}), sixteen,
         17},
        {"samples-12.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "", 12}), colour, 1},
        {"samples-32.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "", 32}), colour, 1},
        {"float.tif", writtenByMagick(colour, "TIFF", {"TrueColor", "", "", 32, false, true}),
         colour, 1},
        {"fax.tif", writtenByMagick(mono, "TIFF", {"Bilevel", "Group4"}), mono},
        {"targa.tga", writtenByMagick(colour, "TGA"), colour},
        {"targa-rle.tga", writtenByMagick(colour, "TGA", {"TrueColor", "RLE"}), colour},
        {"paintbrush.pcx", writtenByMagick(colour, "PCX"), colour},
        {"pages.dcx", writtenByMagick({colour, blue}, "DCX"), colour},
        {"pcpaint-mono.pic", pcPaintMonochrome(mono), mono},
        {"pcpaint-ega.pic", pcPaintEgaPlanes(sixteen), sixteen},
        {"pcpaint-vga.PIC", pcPaintVga(sixteen), sixteen},
        {"quickdraw.pic", writtenByMagick(colour, "PICT"), colour},
        {"drawing.cal", writtenByMagick(mono, "CALS"), mono},
        {"macpaint.mac", macPaint, macPaintPage()},
        // As it comes from a Mac: behind the MacBinary header that names its type.
        {"macbinary.mac", macBinaryHeader + macPaint, macPaintPage()},
        {"gem-mono.img", writtenByNetpbm(mono, "pbmtogem"), mono},
        {"gem-colour.img", gemSixteenColours(sixteen), sixteen},
        {"paint-1.msp", microsoftPaint(mono, MspVersion::Plain1), mono},
        {"paint-2.msp", microsoftPaint(mono, MspVersion::Packed2), mono},
        {"intergraph.itg", notAPicture(), QImage()},
        {"png-inside.itg", writtenByQt(colour, "png"), colour},
        {"xerox.smp", notAPicture(), QImage()},
        {"bitmap.pbm", writtenByMagick(mono, "PBM"), mono},
        {"wordperfect.wpg", wordPerfectGraphic(sixteen), sixteen},
        {"sun.ras", writtenByMagick(colour, "SUN"), colour},
        {"quickdraw.pct", writtenByMagick(colour, "PICT"), colour},
        {"photo.pcd", writtenByMagick(photoCdReference(), "PCD"), photoCdReference(),
         PhotoCdTolerance, 256},
        {"flashpix.fpx", flashPixFile({colour, 3, 3, FlashPixTiles::Raw, true}), colour},
        {"flashpix-jpeg.fpx", flashPixFile({colour, 3, 3, FlashPixTiles::Jpeg, true}), colour,
         JpegTolerance, 8},
        {"not-flashpix.fpx", notAPicture(), QImage()},
        {"drawing.eps", encapsulatedPostScript(), redBlueHalves(), RenderedTolerance, 8},
        {"preview.eps", dosEpsWithTiffPreview(writtenByQt(colour, "tiff")), colour},
        {"halo.cut", drHaloCut(grey), grey},
        {"photoshop.psd", writtenByMagick(colour, "PSD", {"TrueColor", ""}), colour},
        {"image.png", writtenByQt(colour, "png"), colour},
        {"transparent.png", writtenByQt(transparentReference(), "png"),
         transparentReferenceOnWhite(), 1},
        {"deep-transparent.png", deepPngWithTransparentColour(colour),
         deepPngWithTransparentColourOnWhite(colour)},
        {"clipboard-dib.clp", clipboardWithDib(colour), colour},
        {"clipboard-mono.clp", clipboardWithMonochromeBitmap(mono), mono},
        {"clipboard-palette.clp", clipboardWithPaletteBitmap(sixteen), sixteen},
        {"iris.sgi", writtenByMagick(colour, "SGI"), colour},
        {"scitex.sct", scitexContinuousTone(colour), colour},
    };
}

QRgb blockAverage(const QImage& picture, int left, int top, int size) {
    long red = 0;
    long green = 0;
    long blue = 0;
    int count = 0;
    for (int y = top; y < std::min(top + size, picture.height()); ++y) {
        for (int x = left; x < std::min(left + size, picture.width()); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            red += qRed(pixel);
            green += qGreen(pixel);
            blue += qBlue(pixel);
            ++count;
        }
    }
    return qRgb(int(red / count), int(green / count), int(blue / count));
}

}  // namespace

const std::vector<Sample>& allSamples() {
    static const std::vector<Sample> samples = buildSamples();
    return samples;
}

int largestDifference(const QImage& actual, const QImage& expected, int blockSize) {
    if (actual.size() != expected.size()) {
        return std::numeric_limits<int>::max();
    }
    int largest = 0;
    for (int y = 0; y < expected.height(); y += blockSize) {
        for (int x = 0; x < expected.width(); x += blockSize) {
            const QRgb a = blockAverage(actual, x, y, blockSize);
            const QRgb b = blockAverage(expected, x, y, blockSize);
            largest = std::max({largest, std::abs(qRed(a) - qRed(b)),
                                std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        }
    }
    return largest;
}

}  // namespace pictarium::test
