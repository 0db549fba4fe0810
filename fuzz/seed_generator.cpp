// Writes the seed bases of the fuzzer into the folder given: small valid
// bases with every bitmap variant the engine reads, and near-valid ones
// with one thing wrong each. Usage: fuzz_seed_generator FOLDER

#include "engine/bdp_format.h"
#include "imaging/core/bitmap_codec.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

namespace pictarium::fuzz {

namespace {

struct Record {
    QByteArray text;     // stored form
    QByteArray picture;  // stored form: the bitmap file less its first three bytes
};

void appendInt32(QByteArray& bytes, std::int32_t value) {
    char buffer[4];
    putInt32(buffer, value);
    bytes.append(buffer, 4);
}

void appendInt16(QByteArray& bytes, std::int32_t value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

QByteArray storedText(const QString& description) {
    QByteArray bytes = TextToBytes(description);
    FlipBytes(bytes);
    return bytes;
}

QImage samplePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixelColor(x, y, QColor(60 * x % 256, 90 * y % 256, 30 * (x + y) % 256));
        }
    }
    return picture;
}

// A bitmap file with a BITMAPINFOHEADER: `extra` is what comes between the
// header and the pixels (bit-field masks, palette).
QByteArray infoBitmap(std::int32_t width, std::int32_t height, int bitCount,
                      std::int32_t compression, const QByteArray& extra, const QByteArray& pixels) {
    QByteArray file("BM");
    const std::int32_t pixelsAt = 14 + 40 + static_cast<std::int32_t>(extra.size());
    appendInt32(file, pixelsAt + static_cast<std::int32_t>(pixels.size()));
    appendInt32(file, 0);
    appendInt32(file, pixelsAt);
    appendInt32(file, 40);
    appendInt32(file, width);
    appendInt32(file, height);
    appendInt16(file, 1);
    appendInt16(file, bitCount);
    appendInt32(file, compression);
    appendInt32(file, static_cast<std::int32_t>(pixels.size()));
    appendInt32(file, 2835);
    appendInt32(file, 2835);
    appendInt32(file, 0);
    appendInt32(file, 0);
    return file + extra + pixels;
}

// An OS/2 bitmap: 12-byte header, three-byte palette entries.
QByteArray coreBitmap() {
    QByteArray file("BM");
    const QByteArray palette = QByteArray::fromHex("0000ffffff00");
    const QByteArray pixels = QByteArray::fromHex("a000000050000000");  // 4x2, 1 bit
    const std::int32_t pixelsAt = 14 + 12 + static_cast<std::int32_t>(palette.size());
    appendInt32(file, pixelsAt + static_cast<std::int32_t>(pixels.size()));
    appendInt32(file, 0);
    appendInt32(file, pixelsAt);
    appendInt32(file, 12);
    appendInt16(file, 4);
    appendInt16(file, 2);
    appendInt16(file, 1);
    appendInt16(file, 1);
    return file + palette + pixels;
}

QByteArray grayPalette(int entries) {
    QByteArray palette;
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<char>(i * 255 / (entries - 1));
        palette.append(level).append(level).append(level).append('\0');
    }
    return palette;
}

QByteArray masks(std::int32_t red, std::int32_t green, std::int32_t blue) {
    QByteArray bytes;
    appendInt32(bytes, red);
    appendInt32(bytes, green);
    appendInt32(bytes, blue);
    return bytes;
}

// Every bitmap variant the engine's reader takes, each a few pixels.
std::vector<QByteArray> bitmapVariants() {
    const QImage picture = samplePicture(4, 3);
    return {
        bitmapFileOf(picture),
        bitmapFileOf(picture.convertToFormat(QImage::Format_Indexed8)),
        bitmapFileOf(picture.convertToFormat(QImage::Format_Mono)),
        infoBitmap(2, -2, 24, 0, {}, QByteArray::fromHex("0000ff00ff000000ff0000ffffff0000")),
        infoBitmap(4, 2, 8, 1, grayPalette(256), QByteArray::fromHex("0401000004020001")),
        infoBitmap(4, 2, 4, 2, grayPalette(16), QByteArray::fromHex("0412000004210001")),
        infoBitmap(2, 2, 16, 3, masks(0xF800, 0x07E0, 0x001F),
                   QByteArray::fromHex("00f8e007ffff1f00")),
        infoBitmap(2, 1, 32, 3, masks(0xFF0000, 0xFF00, 0xFF),
                   QByteArray::fromHex("0000ff0000ff0000")),
        coreBitmap(),
    };
}

QByteArray assembleBase(const std::vector<Record>& records) {
    QByteArray index;
    QByteArray data;
    std::int32_t offset = FirstTextOffset;
    for (const Record& record : records) {
        IndexEntry entry;
        entry.TextOffset = offset;
        entry.TextLength = static_cast<std::int32_t>(record.text.size());
        entry.PicOffset = offset + entry.TextLength;
        entry.PicLength = static_cast<std::int32_t>(record.picture.size());
        index.append(encodeEntry(entry).data(), IndexEntrySize);
        data += record.text + record.picture;
        offset = entry.PicOffset + entry.PicLength;
    }
    const auto header = encodeHeader(static_cast<std::int32_t>(records.size()));
    return QByteArray(header.data(), HeaderSize) + index + data;
}

std::vector<Record> threeRecords() {
    const std::vector<QByteArray> variants = bitmapVariants();
    return {{storedText(QStringLiteral("Le chat")), variants[0].mid(3)},
            {storedText(QStringLiteral("Un Zèbre\tau zoo")), variants[1].mid(3)},
            {storedText(QStringLiteral("x")), variants[2].mid(3)}};
}

void setInt32(QByteArray& bytes, qsizetype at, std::int32_t value) {
    putInt32(bytes.data() + at, value);
}

// Offset of field `field` (0: PicOffset .. 3: TextLength) of entry `record`.
qsizetype entryField(int record, int field) {
    return HeaderSize + IndexEntrySize * record + 4 * field;
}

struct Seed {
    QString name;
    QByteArray bytes;
};

std::vector<Seed> validSeeds() {
    std::vector<Seed> seeds;
    seeds.push_back({QStringLiteral("empty"), assembleBase({})});
    int variant = 0;
    for (const QByteArray& bitmap : bitmapVariants()) {
        seeds.push_back({QStringLiteral("variant-%1").arg(variant++),
                         assembleBase({{storedText(QStringLiteral("abc")), bitmap.mid(3)}})});
    }
    seeds.push_back({QStringLiteral("three-records"), assembleBase(threeRecords())});
    // The last bytes choose the operations after the walk: add, search
    // forwards, delete, search backwards, move to 1, add with a palette,
    // information, and a move counted from the end.
    seeds.push_back({QStringLiteral("three-records-edited"),
                     assembleBase(threeRecords()) + QByteArray::fromHex("09050a0614890717")});
    return seeds;
}

std::vector<Seed> nearValidSeeds() {
    const QByteArray base = assembleBase(threeRecords());
    const auto changed = [&base](qsizetype at, std::int32_t value) {
        QByteArray bytes = base;
        setInt32(bytes, at, value);
        return bytes;
    };
    constexpr std::int32_t Largest = std::numeric_limits<std::int32_t>::max();
    QByteArray damagedPicture = base;
    const std::int32_t lastPicture =
        getInt32(base.constData() + entryField(2, 0)) + 3 * IndexEntrySize;
    setInt32(damagedPicture, lastPicture + 11, 0xFFFF);  // the bitmap header's size
    QByteArray hugePicture = base;
    setInt32(hugePicture, lastPicture + 15, 30000);  // width
    setInt32(hugePicture, lastPicture + 19, 30000);  // height

    // Run-length data that ends at once, for a picture of 100 million pixels.
    const QByteArray runLengthGiant =
        infoBitmap(10000, 10000, 8, 1, grayPalette(256), QByteArray::fromHex("0001"));

    return {
        {QStringLiteral("run-length-giant"),
         assembleBase({{storedText(QStringLiteral("abc")), runLengthGiant.mid(3)}})},
        {QStringLiteral("wrong-signature"), changed(0, 0x06711425)},
        {QStringLiteral("count-too-large"), changed(4, 1000)},
        {QStringLiteral("count-negative"), changed(4, -1)},
        {QStringLiteral("count-largest"), changed(4, Largest)},
        {QStringLiteral("text-length-zero"), changed(entryField(1, 3), 0)},
        {QStringLiteral("picture-length-zero"), changed(entryField(1, 1), 0)},
        {QStringLiteral("picture-length-huge"), changed(entryField(0, 1), Largest - 64)},
        {QStringLiteral("text-past-end"), changed(entryField(2, 2), 1 << 20)},
        {QStringLiteral("text-offset-negative"), changed(entryField(1, 2), -400)},
        {QStringLiteral("offset-overflows"), changed(entryField(2, 0), Largest - 8)},
        {QStringLiteral("truncated"), base.left(base.size() - 20)},
        {QStringLiteral("damaged-picture-header"), damagedPicture},
        {QStringLiteral("picture-promises-too-much"), hugePicture},
    };
}

bool writeSeed(const QDir& folder, const Seed& seed) {
    QFile file(folder.filePath(seed.name + QStringLiteral(".bdp")));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(seed.bytes) == seed.bytes.size();
}

}  // namespace

}  // namespace pictarium::fuzz

int main(int argc, char** argv) {
    using namespace pictarium::fuzz;
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_generator FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    std::vector<Seed> seeds = validSeeds();
    for (Seed& seed : nearValidSeeds()) {
        seeds.push_back(std::move(seed));
    }
    for (const Seed& seed : seeds) {
        if (!writeSeed(folder, seed)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(seed.name));
            return 1;
        }
    }
    std::printf("%zu seeds written\n", seeds.size());
    return 0;
}
