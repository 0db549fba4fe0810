#pragma once

#include <QByteArray>
#include <QImage>

namespace pictarium::test {

// Minimal valid files, built byte by byte, of the formats that nothing
// here can write. Each is described where it is built.

// A placeable metafile, 0.5 x 1/3 inch: left half red, right half blue.
[[nodiscard]] QByteArray windowsMetafile();
// An enhanced metafile header and its end record.
[[nodiscard]] QByteArray enhancedMetafile();

// MacPaint: the picture at the top left of the 576 x 720 page, with or
// without the MacBinary header that transfers from a Mac add.
[[nodiscard]] QByteArray macPaint(const QImage& monochrome, bool withMacBinaryHeader);
// WordPerfect Graphics 1: a 4-bit bitmap record with its palette.
[[nodiscard]] QByteArray wordPerfectGraphic(const QImage& sixteenColours);
// Dr Halo: 8-bit run-length rows; without a palette file they read as grey.
[[nodiscard]] QByteArray drHaloCut(const QImage& grey);
// Scitex CT: the three RGB separations of each row.
[[nodiscard]] QByteArray scitexContinuousTone(const QImage& colour);

enum class MspVersion { Plain1, Packed2 };
[[nodiscard]] QByteArray microsoftPaint(const QImage& monochrome, MspVersion version);

// GEM raster: one plane, with vertical replication, solid and literal runs.
[[nodiscard]] QByteArray gemMonochrome(const QImage& monochrome);
// GEM raster: four planes with an XIMG palette.
[[nodiscard]] QByteArray gemSixteenColours(const QImage& sixteenColours);
// GEM raster of 32 x 2 built from pattern runs: rows AA 55 ... and 0F F0 ...
[[nodiscard]] QByteArray gemPatternRuns();
[[nodiscard]] QImage gemPatternRunsPicture();

// Windows NT clipboard with a text entry and a DIB entry.
[[nodiscard]] QByteArray clipboardWithDib(const QImage& colour);
// Windows 3 clipboard with a monochrome device-dependent bitmap.
[[nodiscard]] QByteArray clipboardWithMonochromeBitmap(const QImage& monochrome);
// Windows 3 clipboard with an 8-bit device-dependent bitmap and its palette.
[[nodiscard]] QByteArray clipboardWithPaletteBitmap(const QImage& sixteenColours);

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

// The PNG file with a chunk of `type` and `data` added before its pixels.
[[nodiscard]] QByteArray withPngChunk(QByteArray png, const QByteArray& type,
                                      const QByteArray& data);

// A PNG file of 16-bit RGB samples whose tRNS chunk makes the colour of
// the picture's top-left pixel transparent; and that picture laid on white.
[[nodiscard]] QByteArray deepPngWithTransparentColour(const QImage& colour);
[[nodiscard]] QImage deepPngWithTransparentColourOnWhite(const QImage& colour);

}  // namespace pictarium::test
