#include "imaging/core/bitmap_codec.h"
#include "imaging/picture_reader.h"
#include "tests/imaging/byte_writer.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/reference_pictures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace pictarium::test {

namespace {

using Outcome = PictureReading::Outcome;

std::uint32_t crc32(QByteArrayView bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

// A real PNG whose header is rewritten to claim another size; its chunk
// checksum is made right again so that only the size is wrong.
QByteArray pngClaiming(std::uint32_t width, std::uint32_t height) {
    QByteArray png = writtenByQt(colourReference(), "png");
    const auto putBe32 = [&png](qsizetype at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            png[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    putBe32(16, width);
    putBe32(20, height);
    putBe32(29, crc32(QByteArrayView(png).sliced(12, 17)));
    return png;
}

// A one-plane GEM raster of white lines, a few bytes whatever its size:
// each line is solid runs, repeated by vertical replication.
QByteArray gemOfSize(int width, int height) {
    ByteWriter file;
    file.u16be(1).u16be(8).u16be(1).u16be(2).u16be(85).u16be(85).u16be(width).u16be(height);
    const int lineBytes = (width + 7) / 8;
    for (int y = 0; y < height; y += 255) {
        file.u8(0).u8(0).u8(0xFF).u8(std::min(255, height - y));
        for (int filled = 0; filled < lineBytes; filled += 127) {
            file.u8(std::min(127, lineBytes - filled));
        }
    }
    return file.result();
}

using PixelLimitTest = PictureFileTest;

TEST_F(PixelLimitTest, ourDecodersLoadUpToTheLimitAndRefuseOnePixelRowMore) {
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
TEST_F(PixelLimitTest, decompressionBombsAreRefused) {
    ByteWriter bitmap;  // 8-bit run-length bitmap of 40000 x 40000
    bitmap.bytes("BM").u32le(70).u32le(0).u32le(54 + 4);
    bitmap.u32le(40).u32le(40000).u32le(40000).u16le(1).u16le(8).u32le(1).u32le(0);
    bitmap.u32le(0).u32le(0).u32le(1).u32le(0).u32le(0).u8(0).u8(1).u8(0).u8(0).u8(1);

    ByteWriter targa;  // uncompressed 65535 x 65535
    targa.u8(0).u8(0).u8(2).fill(9).u16le(65535).u16le(65535).u8(24).u8(0x20).fill(64);

    ByteWriter paint;  // PC Paint 65535 x 65535 at 8 bits, one packed block
    paint.u16le(0x1234).u16le(65535).u16le(65535).u32le(0).u8(0x08).u8(0xFF).u8('L');
    paint.u16le(0).u16le(0).u16le(1).u16le(10).u16le(65535).u8(0xAA).u8(0xAA).u8(0).u16le(65535);
    paint.u8(0);

    ByteWriter msp;  // Windows 2 Paint 65535 x 65535
    msp.bytes("LinS").u16le(65535).u16le(65535).padTo(32);

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
        {"bomb.msp", msp.result()},
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

}  // namespace

}  // namespace pictarium::test
