#pragma once

#include "tests/imaging/byte_writer.h"

#include <QByteArray>
#include <QImage>
#include <QList>

#include <utility>

namespace pictarium::test {

// Minimal valid files, built byte by byte, of the formats that nothing
// here can write. Each is described where it is built.

// A placeable metafile, 0.5 x 1/3 inch: left half red, right half blue.
[[nodiscard]] QByteArray windowsMetafile();

// WordPerfect Graphics 1: a 4-bit bitmap record with its palette.
[[nodiscard]] QByteArray wordPerfectGraphic(const QImage& sixteenColours);
// Dr Halo: 8-bit run-length rows; without a palette file they read as grey.
[[nodiscard]] QByteArray drHaloCut(const QImage& grey);
// Scitex CT: the three RGB separations of each row.
[[nodiscard]] QByteArray scitexContinuousTone(const QImage& colour);

enum class MspVersion { Plain1, Packed2 };
// A Microsoft Paint header, its checksum included; the rows follow.
[[nodiscard]] ByteWriter mspHeader(MspVersion version, int width, int height);
[[nodiscard]] QByteArray microsoftPaint(const QImage& monochrome, MspVersion version);

// A GEM raster header of `planes`, 8 words long unless a palette follows.
[[nodiscard]] ByteWriter gemHeader(int planes, int width, int height, int words = 8);
// GEM raster: four planes with an XIMG palette.
[[nodiscard]] QByteArray gemSixteenColours(const QImage& sixteenColours);

// A Windows 3 clipboard file of entries: their format numbers and data.
[[nodiscard]] QByteArray windows3Clipboard(const QList<std::pair<int, QByteArray>>& entries);
// Windows NT clipboard with a text entry and a DIB entry.
[[nodiscard]] QByteArray clipboardWithDib(const QImage& colour);
// Windows 3 clipboard with a monochrome device-dependent bitmap.
[[nodiscard]] QByteArray clipboardWithMonochromeBitmap(const QImage& monochrome);
// Windows 3 clipboard with an 8-bit device-dependent bitmap and its palette.
[[nodiscard]] QByteArray clipboardWithPaletteBitmap(const QImage& sixteenColours);

// A PC Paint header through its palette; the count of packed blocks (0
// for unpacked pixels) ends it.
[[nodiscard]] ByteWriter pcPaintHeader(int width, int height, int planeInfo, int paletteKind,
                                       QByteArrayView palette, int blocks);
// PC Paint: 1 bit, packed in two blocks.
[[nodiscard]] QByteArray pcPaintMonochrome(const QImage& monochrome);
// PC Paint: four EGA planes with an EGA palette, packed.
[[nodiscard]] QByteArray pcPaintEgaPlanes(const QImage& sixteenColours);
// PC Paint: 8 bits with a VGA palette, stored unpacked.
[[nodiscard]] QByteArray pcPaintVga(const QImage& sixteenColours);

// EPS, 36 x 24 points: left half red, right half blue.
[[nodiscard]] QByteArray encapsulatedPostScript();
// DOS binary EPS whose PostScript does not run, with a TIFF preview.
[[nodiscard]] QByteArray dosEpsWithTiffPreview(const QByteArray& tiff);

// What the two-colour metafile and EPS samples show, at 96 dots per inch.
[[nodiscard]] QImage redBlueHalves();

// The checksum of a PNG chunk, over its type and data.
[[nodiscard]] std::uint32_t pngCrc(QByteArrayView bytes);
// The PNG file with a chunk of `type` and `data` added before its pixels.
[[nodiscard]] QByteArray withPngChunk(QByteArray png, const QByteArray& type,
                                      const QByteArray& data);

// A PNG file of 16-bit RGB samples whose tRNS chunk makes the colour of
// the picture's top-left pixel transparent; and that picture laid on white.
[[nodiscard]] QByteArray deepPngWithTransparentColour(const QImage& colour);
[[nodiscard]] QImage deepPngWithTransparentColourOnWhite(const QImage& colour);

}  // namespace pictarium::test
