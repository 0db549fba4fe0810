// The imaging room: picture files read by extension and content, as the
// add command reads them, and the imaging component's control.

#include "base/run_errors.h"
#include "imaging/core/pixel_limit.h"
#include "imaging/file_extensions.h"
#include "imaging/imaging_control.h"
#include "imaging/metafile/emf_reader.h"
#include "imaging/picture_reader.h"
#include "tests/imaging/bitmap_bytes.h"
#include "tests/imaging/hand_built_samples.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/metafile/ink_count.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

namespace pictarium::test {

namespace {

using Outcome = PictureReading::Outcome;
using PictureReaderTest = PictureFileTest;

// The extension is the upper-cased text after the last dot of the whole
// name, and it alone picks the group, whatever its case.
TEST(ExtensionGroupTest, aNamesLastDotGivesItsExtensionAndItsGroup) {
    using enum ExtensionGroup;
    const std::tuple<const char*, const char*, ExtensionGroup> names[] = {
        {"logo.bmp", "BMP", PlatformLoader},
        {"Clip.Wmf", "WMF", PlatformLoader},
        {"ANIM.GIF", "GIF", PlatformLoader},
        {"Photo.Jpg", "JPG", ImagingComponent},
        {"archive.tar.Tif", "TIF", ImagingComponent},
        {"drawing.EPS", "EPS", ImagingComponent},
        // What cameras and phones write today is read by content, as the
        // component's formats are.
        {"camera.jpeg", "JPEG", ImagingComponent},
        {"phone.Heic", "HEIC", ImagingComponent},
        {"notes.txt", "TXT", Ignored},
        {"base.BDP", "BDP", Ignored},
        {"scan", "", Ignored},
        {"trailing.", "", Ignored},
        {"C:\\my.pictures\\scan", "PICTURES\\SCAN", Ignored},
        {"/home/me/my.pictures/scan", "PICTURES/SCAN", Ignored},
    };
    for (const auto& [name, extension, group] : names) {
        EXPECT_EQ(GetFileExtension(name), extension) << name;
        EXPECT_EQ(extensionGroupOf(GetFileExtension(name)), group) << name;
    }
}

// The group decides whether the content is read, and by whom: the
// platform's loader knows bitmaps, icons, GIF, JPEG and metafiles only;
// the component reads any format it knows whatever the extension.
TEST_F(PictureReaderTest, theGroupDecidesWhetherAndHowTheContentIsRead) {
    const QByteArray jpeg = writtenByQt(colourReference(), "jpeg");
    const QByteArray bitmap = writtenByQt(colourReference(), "bmp");
    const QByteArray png = writtenByQt(colourReference(), "png");
    const QByteArray webp = writtenByQt(colourReference(), "webp", 90);
    const std::tuple<const char*, QByteArray, Outcome> files[] = {
        {"photo.txt", jpeg, Outcome::Ignored},        {"photo", jpeg, Outcome::Ignored},
        {"my.pictures/scan", jpeg, Outcome::Ignored}, {"photo.jpeg", jpeg, Outcome::Loaded},
        {"photo.JPE", jpeg, Outcome::Loaded},         {"scan.TIFF", jpeg, Outcome::Loaded},
        {"scan.tga", bitmap, Outcome::Loaded},        {"logo.gif", jpeg, Outcome::Loaded},
        {"logo.bmp", png, Outcome::Refused},          {"empty.png", {}, Outcome::Refused},
        {"empty.gif", {}, Outcome::Refused},          {"web.jpg", webp, Outcome::Loaded},
        {"web.gif", webp, Outcome::Refused},
    };
    for (const auto& [name, bytes, outcome] : files) {
        SCOPED_TRACE(name);
        const PictureReading reading = readAs(name, bytes);
        EXPECT_EQ(reading.outcome, outcome);
        if (outcome == Outcome::Loaded) {
            EXPECT_LE(largestDifference(reading.picture, colourReference(), 8), 24);
        } else {
            EXPECT_TRUE(reading.picture.isNull());
        }
    }
}

TEST_F(PictureReaderTest, aFileThatCannotBeReadIsRefusedNamingIt) {
    const QString missing = mFolder.filePath("gone.tif");
    const PictureReading reading = readPictureFile(missing);
    EXPECT_EQ(reading.outcome, Outcome::Refused);
    EXPECT_EQ(refusalText(reading),
              QStringLiteral("L'image du fichier « %1 » ne peut pas être lue !")
                  .arg(QDir::toNativeSeparators(missing)));
    QDir(mFolder.path()).mkdir("album.bmp");
    EXPECT_EQ(readPictureFile(mFolder.filePath("album.bmp")).outcome, Outcome::Refused);
}

TEST_F(PictureReaderTest, everySampleLoadsToItsPixelsOrIsRefused) {
    std::set<QString> covered;
    for (const Sample& sample : allSamples()) {
        SCOPED_TRACE(sample.fileName.toStdString());
        covered.insert(GetFileExtension(sample.fileName));
        const QString path = write(sample.fileName, sample.bytes);
        const PictureReading reading = readPictureFile(path);
        if (sample.expected.isNull()) {
            EXPECT_EQ(reading.outcome, Outcome::Refused);
            EXPECT_TRUE(reading.picture.isNull());
            EXPECT_EQ(reading.path, path);
            continue;
        }
        ASSERT_EQ(reading.outcome, Outcome::Loaded);
        EXPECT_FALSE(reading.picture.hasAlphaChannel());
        EXPECT_LE(largestDifference(reading.picture, sample.expected, sample.blockSize),
                  sample.tolerance);
    }
    // Every accepted extension has its sample.
    for (const char* extension : PlatformLoaderExtensions) {
        EXPECT_TRUE(covered.contains(extension)) << extension;
    }
    for (const char* extension : ImagingComponentExtensions) {
        EXPECT_TRUE(covered.contains(extension)) << extension;
    }
    for (const char* extension : ContentReadExtensions) {
        EXPECT_TRUE(covered.contains(extension)) << extension;
    }
}

// sRGB with its red and green primaries swapped: a file that stores pure
// red in it means the display's pure green.
QColorSpace swappedRedAndGreen() {
    return QColorSpace(QPointF(0.3127, 0.3290), QPointF(0.30, 0.60), QPointF(0.64, 0.33),
                       QPointF(0.15, 0.06), QColorSpace::TransferFunction::SRgb);
}

// 16 x 16: `left` on the left half, `right` on the other, in `space` when valid.
QImage halves(QRgb left, QRgb right, const QColorSpace& space = {}) {
    QImage picture(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.setPixel(x, y, x < 8 ? left : right);
        }
    }
    picture.setColorSpace(space);
    return picture;
}

// A version 5 bitmap of two pixels, red then blue, with `profile` embedded after them.
QByteArray bitmapWithProfile(const QByteArray& profile) {
    const QByteArray pixels = bgr(Red) + bgr(Blue) + QByteArray(2, '\0');
    ByteWriter header;
    header.u32les({124, 2, 1}).u16les({1, 24}).padTo(56).u32le(0x4D424544);         // "MBED"
    header.padTo(108).u32les({4, 124 + pixels.size(), profile.size()}).padTo(124);  // intent
    return bitmapFile(header.result(), {}, pixels + profile);
}

// What the middle of each half shows once read: an embedded profile is
// applied whatever the format; gamma chunks and profiles that cannot be
// applied leave the samples as they are.
TEST_F(PictureReaderTest, embeddedProfilesAreAppliedInEveryFormatThatCarriesOne) {
    const QColorSpace swapped = swappedRedAndGreen();
    MagickOptions profiled;
    profiled.iccProfile = swapped.iccProfile();
    const QRgb green = qRgb(0, 255, 0);
    const QRgb brown = qRgb(128, 64, 32);
    const QRgb slate = qRgb(32, 64, 128);
    struct Case {
        const char* name;
        QByteArray bytes;
        QRgb left;
        QRgb right;
        int tolerance;
    };
    const Case cases[] = {
        {"v5.bmp", bitmapWithProfile(swapped.iccProfile()), green, Blue, 2},
        {"profiled.png", writtenByQt(halves(Red, Blue, swapped), "PNG"), green, Blue, 2},
        {"profiled.jpg", writtenByQt(halves(Red, Blue, swapped), "JPEG", 100), green, Blue, 12},
        {"profiled.tif", writtenByMagick(halves(Red, Blue), "TIFF", profiled), green, Blue, 2},
        {"profiled.webp", writtenByMagick(halves(Red, Blue), "WEBP", profiled), green, Blue, 24},
        {"profiled.heic",
         writtenByLibheif(halves(Red, Blue), HeifCodec::Hevc, swapped.iccProfile()), green, Blue,
         16},
        {"profiled.avif", writtenByLibheif(halves(Red, Blue), HeifCodec::Av1, swapped.iccProfile()),
         green, Blue, 16},
        // Gamma 1.0, as every picture of the PNG suite says.
        {"gamma.png",
         withPngChunk(writtenByQt(halves(brown, slate), "PNG"), "gAMA",
                      QByteArray::fromHex("000186A0")),
         brown, slate, 0},
        {"junk.bmp", bitmapWithProfile(QByteArray(200, 'x')), Red, Blue, 0},
        // A profile that says sRGB changes nothing.
        {"srgb.bmp", bitmapWithProfile(QColorSpace(QColorSpace::SRgb).iccProfile()), Red, Blue, 0},
    };
    for (const Case& shown : cases) {
        SCOPED_TRACE(shown.name);
        const PictureReading reading = readAs(shown.name, shown.bytes);
        ASSERT_EQ(reading.outcome, PictureReading::Outcome::Loaded);
        const QImage& picture = reading.picture;
        const QRgb left = picture.pixel(picture.width() / 4, picture.height() / 2);
        const QRgb right = picture.pixel(picture.width() * 3 / 4, picture.height() / 2);
        EXPECT_TRUE(isNear(left, shown.left, shown.tolerance)) << std::hex << left;
        EXPECT_TRUE(isNear(right, shown.right, shown.tolerance)) << std::hex << right;
    }
}

// The stored form of `upright` under an EXIF orientation, as the tag
// defines it: which side of the picture the stored first row and first
// column show.
QImage storedAs(const QImage& upright, int orientation) {
    const int w = upright.width();
    const int h = upright.height();
    const bool transposed = orientation >= 5;
    QImage stored(transposed ? h : w, transposed ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const std::array<QPoint, 8> shown = {QPoint(x, y),
                                                 QPoint(w - 1 - x, y),
                                                 QPoint(w - 1 - x, h - 1 - y),
                                                 QPoint(x, h - 1 - y),
                                                 QPoint(y, x),
                                                 QPoint(w - 1 - y, x),
                                                 QPoint(w - 1 - y, h - 1 - x),
                                                 QPoint(y, h - 1 - x)};
            stored.setPixel(x, y, upright.pixel(shown.at(orientation - 1)));
        }
    }
    return stored;
}

// A WebP file made extended, so that it may carry `orientation` in an EXIF chunk.
QByteArray webpOriented(const QImage& stored, int orientation) {
    const QByteArray simple = writtenByQt(stored, "webp", 100);
    const QByteArray exif = ByteWriter()
                                .bytes("MM")
                                .u16bes({42, 0, 8, 1, 0x0112, 3, 0, 1, orientation, 0, 0, 0})
                                .result();
    ByteWriter body;
    body.bytes("WEBPVP8X").u32les({10, 0x08});  // flags: EXIF
    body.u16le(stored.width() - 1).u8(0).u16le(stored.height() - 1).u8(0);
    body.bytes(simple.sliced(12)).bytes("EXIF").u32le(std::uint32_t(exif.size())).bytes(exif);
    return ByteWriter()
        .bytes("RIFF")
        .u32le(std::uint32_t(body.result().size()))
        .bytes(body.result())
        .result();
}

// WebP keeps the orientation in an EXIF chunk, HEIF and AVIF in boxes,
// TIFF in a tag.
TEST_F(PictureReaderTest, picturesShowUprightWhateverTheOrientationTheyRecord) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QImage stored = storedAs(colourReference(), orientation);
        MagickOptions tagged;
        tagged.orientation = orientation;
        const std::pair<const char*, QByteArray> files[] = {
            {"turned.tif", writtenByMagick(stored, "TIFF", tagged)},
            {"turned.webp", webpOriented(stored, orientation)},
            {"turned.heic", writtenByLibheif(stored, HeifCodec::Hevc, {}, orientation)},
            {"turned.avif", writtenByLibheif(stored, HeifCodec::Av1, {}, orientation)},
        };
        for (const auto& [name, bytes] : files) {
            SCOPED_TRACE(name);
            const PictureReading reading = readAs(name, bytes);
            ASSERT_EQ(reading.outcome, Outcome::Loaded);
            EXPECT_LE(largestDifference(reading.picture, colourReference(), 8), 16);
        }
    }
}

// A real PNG whose header is rewritten to claim another size; its chunk
// checksum is made right again so that only the size is wrong.
QByteArray pngClaiming(std::uint32_t width, std::uint32_t height) {
    const QByteArray png = writtenByQt(colourReference(), "png");
    const QByteArray header =
        png.sliced(12, 4) + ByteWriter().u32be(width).u32be(height).result() + png.sliced(24, 5);
    return png.first(12) + header + ByteWriter().u32be(pngCrc(header)).result() + png.sliced(33);
}

// A one-plane GEM raster of white lines, a few bytes whatever its size:
// each line is solid runs, repeated by vertical replication.
QByteArray gemOfSize(int width, int height) {
    ByteWriter file = gemHeader(1, width, height);
    const int lineBytes = (width + 7) / 8;
    for (int y = 0; y < height; y += 255) {
        file.u8s({0, 0, 0xFF, std::min(255, height - y)});
        for (int filled = 0; filled < lineBytes; filled += 127) {
            file.u8(std::min(127, lineBytes - filled));
        }
    }
    return file.result();
}

TEST_F(PictureReaderTest, ourDecodersLoadUpToTheLimitAndRefuseOnePixelRowMore) {
    const PictureReading atLimit = readAs("large.img", gemOfSize(10240, 10240));
    ASSERT_EQ(atLimit.outcome, Outcome::Loaded);
    EXPECT_EQ(atLimit.picture.size(), QSize(10240, 10240));
    EXPECT_EQ(atLimit.picture.pixel(10239, 10239), qRgb(255, 255, 255));

    const PictureReading larger = readAs("larger.img", gemOfSize(10240, 10241));
    EXPECT_EQ(larger.outcome, Outcome::Refused);
    EXPECT_EQ(refusalText(larger),
              QStringLiteral("L'image du fichier « %1 » est trop grande : 10240 × 10241 pixels, "
                             "au plus 104857600 (100 mégapixels).")
                  .arg(larger.path));
}

// Headers promising billions of pixels from a few bytes of data.
TEST_F(PictureReaderTest, decompressionBombsAreRefused) {
    ByteWriter bitmap;  // 8-bit run-length bitmap of 40000 x 40000
    bitmap.bytes("BM").u32les({70, 0, 54 + 4, 40, 40000, 40000}).u16les({1, 8});
    bitmap.u32les({1, 0, 0, 0, 1, 0, 0}).u8s({0, 1, 0, 0, 1});
    ByteWriter targa;  // uncompressed 65535 x 65535
    targa.u8s({0, 0, 2}).fill(9).u16les({65535, 65535}).u8s({24, 0x20}).fill(64);
    // PC Paint at 8 bits, one packed block.
    ByteWriter paint = pcPaintHeader(65535, 65535, 0x08, 0, {}, 1);
    paint.u16les({10, 65535}).u8s({0xAA, 0xAA, 0}).u16le(65535).u8(0);

    const QByteArray eps = QByteArrayLiteral(
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 900000 900000\n"
        "0 0 900000 900000 rectfill showpage\n");

    const std::array<std::pair<const char*, QByteArray>, 7> bombs = {{
        {"bomb.png", pngClaiming(30000, 30000)},
        {"bomb.jpg",
         [] {
             QByteArray jpeg = writtenByQt(colourReference(), "jpeg", 90);
             const qsizetype frame = jpeg.indexOf("\xFF\xC0");
             jpeg[frame + 5] = jpeg[frame + 7] = '\xEA';  // 60000 x 60000
             jpeg[frame + 6] = jpeg[frame + 8] = '\x60';
             return jpeg;
         }()},
        {"bomb.bmp", bitmap.result()},
        {"bomb.tga", targa.result()},
        {"bomb.pic", paint.result()},
        {"bomb.msp", mspHeader(MspVersion::Packed2, 65535, 65535).result()},
        {"bomb.eps", eps},
    }};
    for (const auto& [name, bytes] : bombs) {
        SCOPED_TRACE(name);
        const PictureReading reading = readAs(name, bytes);
        EXPECT_EQ(reading.outcome, Outcome::Refused);
        // Each says how large it claims to be.
        EXPECT_TRUE(refusalText(reading).contains(QStringLiteral("trop grande")));
    }
}

// Cut in the middle of its pixels or in its header, every single-picture
// sample is refused: a multi-page file cut in half keeps its first page
// whole, and a PostScript program cut short still runs, so those two are
// left out. Our own decoders and the structural checks in front of lenient
// readers notice a single missing byte too.
TEST_F(PictureReaderTest, truncatedCopiesOfEverySampleAreRefused) {
    const QStringList strict = {".bmp", ".rle", ".gif", ".jpg", ".jff", ".jtf",
                                ".cmp", ".msp", ".img", ".clp", ".pic", ".mac"};
    for (const Sample& sample : allSamples()) {
        const QString& name = sample.fileName;
        if (sample.expected.isNull() || name.startsWith("pages.") || name.endsWith(".eps")) {
            continue;
        }
        std::vector<qsizetype> lengths = {sample.bytes.size() / 2, 24};
        const bool checked = std::any_of(strict.begin(), strict.end(), [&](const QString& ext) {
            return name.endsWith(ext, Qt::CaseInsensitive);
        });
        // The last bytes of then-another.gif are another file's, not its
        // picture's. A GIF without its trailer alone is whole, as some
        // writers leave it; one byte more and its last image is cut.
        if (checked && name != "quickdraw.pic" && name != "then-another.gif") {
            lengths.push_back(sample.bytes.size() - (name.endsWith(".gif") ? 2 : 1));
        }
        for (const qsizetype length : lengths) {
            SCOPED_TRACE(name.toStdString() + " cut to " + std::to_string(length));
            EXPECT_EQ(readAs(name, sample.bytes.first(length)).outcome, Outcome::Refused);
        }
    }
}

// Bytes changed here and there: whatever the decoder makes of them, the
// outcome is a whole opaque picture within the limit, or the refusal.
TEST_F(PictureReaderTest, corruptedCopiesOfEverySampleLoadWhollyOrAreRefused) {
    for (const Sample& sample : allSamples()) {
        for (int variant = 0; variant < 8; ++variant) {
            QByteArray bytes = sample.bytes;
            for (int i = 0; i < 4; ++i) {
                const qsizetype position = (variant * 7919 + i * 104729) % bytes.size();
                bytes[position] = static_cast<char>(bytes[position] ^ (0x5A + 13 * variant));
            }
            SCOPED_TRACE(sample.fileName.toStdString() + " variant " + std::to_string(variant));
            const PictureReading reading = readAs(sample.fileName, bytes);
            if (reading.outcome == Outcome::Refused) {
                EXPECT_TRUE(reading.picture.isNull());
                continue;
            }
            ASSERT_EQ(reading.outcome, Outcome::Loaded);
            EXPECT_FALSE(reading.picture.isNull());
            EXPECT_FALSE(reading.picture.hasAlphaChannel());
            EXPECT_TRUE(isWithinPixelLimit(reading.picture.width(), reading.picture.height()));
        }
    }
}

// Ghostscript runs in its safe mode: a document that opens files for
// writing or reading outside itself stops with an error and gives nothing.
TEST_F(PictureReaderTest, postScriptCannotReachFilesOutsideItself) {
    const QString target = mFolder.filePath("written-by-postscript.txt");
    const QByteArray writer = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 36 24\n(" +
                              target.toUtf8() +
                              ") (w) file (leak) writestring\n0 0 36 24 rectfill showpage\n";
    EXPECT_EQ(readAs("writer.eps", writer).outcome, Outcome::Refused);
    EXPECT_FALSE(QFile::exists(target));

    const QByteArray reader =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 36 24\n"
        "(/etc/passwd) (r) file pop 0 0 36 24 rectfill showpage\n";
    EXPECT_EQ(readAs("reader.eps", reader).outcome, Outcome::Refused);
}

// Read as the add command reads them, the metafiles the fuzzer starts
// from, of every kind, give the player's picture: text and EMF+ included.
TEST_F(PictureReaderTest, metafilesOfEveryKindLoadAsThePlayerDrawsThem) {
    const QDir seeds(QStringLiteral(PICTARIUM_TEST_DATA "/emf/seeds"));
    for (const QFileInfo& seed : seeds.entryInfoList(QDir::Files)) {
        SCOPED_TRACE(seed.fileName().toStdString());
        QFile file(seed.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const PictureReading reading = readAs(seed.fileName(), bytes);
        ASSERT_EQ(reading.outcome, PictureReading::Outcome::Loaded);
        EXPECT_EQ(reading.picture.convertToFormat(QImage::Format_RGB32),
                  decodeEnhancedMetafile(bytes));
    }
}

class ImagingControlTest : public PictureFileTest {
protected:
    template <typename Operation>
    static int failureOf(Operation operation) {
        try {
            operation();
        } catch (const RunFailure& failure) {
            return failure.number();
        }
        return 0;
    }

    int loadFailure(const QString& path) {
        return failureOf([&] { mControl.LoadImage(path, 0, 0, 1); });
    }

    ImagingControl mControl;
};

// Load failures carry the classic numbers; formats without a signature
// are known by their extension alone. The picture loaded is held until
// the handle is cleared.
TEST_F(ImagingControlTest, loadsHoldThePictureAndFailuresCarryTheClassicNumbers) {
    const QByteArray targa = writtenByMagick(colourReference(), "TGA");
    EXPECT_EQ(loadFailure(mFolder.filePath("gone.pcx")), RunError::FileNotFound);
    EXPECT_EQ(loadFailure(mFolder.path()), RunError::PathFileAccessError);
    EXPECT_EQ(loadFailure(write("text.pcx", "plain text")), RunError::InvalidPicture);
    EXPECT_EQ(loadFailure(write("targa.sgi", targa)), RunError::InvalidPicture);
    EXPECT_TRUE(mControl.ImagePicture().isNull());
    EXPECT_EQ(loadFailure(write("targa.tga", targa)), 0);
    EXPECT_EQ(largestDifference(mControl.ImagePicture(), colourReference()), 0);
    mControl.setImageHandle(0);
    EXPECT_TRUE(mControl.ImagePicture().isNull());
}

TEST_F(ImagingControlTest, convertingToTwentyFourBitsMakesAnyPictureTrueColour) {
    mControl.TakePicture(monochromeReference());
    EXPECT_EQ(mControl.ImageBits(), 1);
    mControl.ConvertColorDepth(24, 4, 0, 0);
    EXPECT_EQ(mControl.ImageBits(), 24);
    EXPECT_EQ(largestDifference(mControl.ImagePicture(), monochromeReference()), 0);

    mControl.TakePicture(transparentReference());
    EXPECT_EQ(mControl.ImageBits(), 32);
    mControl.ConvertColorDepth(24, 4, 0, 0);
    EXPECT_EQ(mControl.ImageBits(), 24);
    EXPECT_LE(largestDifference(mControl.ImagePicture(), transparentReferenceOnWhite()), 1);
}

TEST_F(ImagingControlTest, operationsRefuseWhatTheyCannotDo) {
    EXPECT_EQ(failureOf([&] { mControl.TakePicture(QImage()); }), RunError::InvalidPicture);
    EXPECT_EQ(failureOf([&] { mControl.ConvertColorDepth(24, 4, 0, 0); }),
              RunError::InvalidPicture);
    EXPECT_EQ(failureOf([&] { mControl.SaveImage(mFolder.filePath("x.bmp"), 6, 24, -2, 0); }),
              RunError::InvalidPicture);
    mControl.TakePicture(colourReference());
    EXPECT_EQ(failureOf([&] { mControl.ConvertColorDepth(8, 4, 0, 0); }),
              RunError::InvalidProcedureCall);
    EXPECT_EQ(failureOf([&] { mControl.SaveImage(mFolder.filePath("x.gif"), 7, 0, 0, 0); }),
              RunError::InvalidProcedureCall);
    EXPECT_EQ(failureOf([&] { mControl.setImageHandle(1); }), RunError::InvalidPropertyValue);
    EXPECT_EQ(
        failureOf([&] { mControl.SaveImage(mFolder.filePath("missing/x.bmp"), 6, 24, -2, 0); }),
        RunError::PathNotFound);
    EXPECT_FALSE(QFile::exists(mFolder.filePath("x.gif")));
}

}  // namespace

}  // namespace pictarium::test
