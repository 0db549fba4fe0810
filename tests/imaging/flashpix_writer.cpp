#include "tests/imaging/flashpix_writer.h"

#include "tests/imaging/byte_writer.h"

#include <QBuffer>
#include <QString>

#include <algorithm>
#include <tuple>
#include <vector>

namespace pictarium::test {

namespace {

constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr int MiniCutoff = 4096;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t NoEntry = 0xFFFFFFFF;

// One entry of a compound file: a storage of children or a stream of bytes.
struct StorageNode {
    QString name;
    bool isStorage = false;
    QByteArray bytes;
    QList<StorageNode> children;
};

struct FlatEntry {
    const StorageNode* node = nullptr;  // none: the root
    std::uint32_t child = NoEntry;
    std::uint32_t right = NoEntry;
    std::uint32_t start = EndOfChain;
    std::uint32_t size = 0;
};

// Lays the tree out: each storage's children chained through their right
// siblings.
void flatten(const QList<StorageNode>& children, std::uint32_t parent,
             std::vector<FlatEntry>& entries) {
    std::uint32_t previous = NoEntry;
    for (const StorageNode& node : children) {
        const auto index = static_cast<std::uint32_t>(entries.size());
        entries.push_back(FlatEntry{&node});
        (previous == NoEntry ? entries[parent].child : entries[previous].right) = index;
        previous = index;
        if (node.isStorage) {
            flatten(node.children, index, entries);
        }
    }
}

int sectorsFor(qsizetype bytes, int size) {
    return static_cast<int>((bytes + size - 1) / size);
}

// Chains `count` sectors from `start` in the table; the chain's start, or
// its end when empty.
std::uint32_t chain(std::vector<std::uint32_t>& table, std::uint32_t start, int count) {
    for (int i = 0; i < count; ++i) {
        table[start + i] = i + 1 < count ? start + i + 1 : EndOfChain;
    }
    return count > 0 ? start : EndOfChain;
}

void writeEntry(ByteWriter& directory, const QString& name, int type, const FlatEntry& entry) {
    const qsizetype start = directory.size();
    for (const QChar character : name) {
        directory.u16le(character.unicode());
    }
    directory.padTo(start + 64).u16le(static_cast<int>(2 * (name.size() + 1)));
    directory.u8(type).u8(1).u32les({NoEntry, entry.right, entry.child});
    directory.padTo(start + 116).u32les({entry.start, entry.size, 0});
}

// A compound file of 512-byte sectors holding the root's children; streams
// under 4096 bytes go in the mini stream, as writers put them.
QByteArray compoundFile(const QList<StorageNode>& rootChildren) {
    std::vector<FlatEntry> entries(1);
    flatten(rootChildren, 0, entries);

    // The mini stream: small streams one after another, in 64-byte steps.
    ByteWriter miniStream;
    std::vector<std::uint32_t> miniFat;
    std::vector<std::size_t> bigStreams;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const StorageNode& node = *entries[i].node;
        if (node.isStorage) {
            continue;
        }
        entries[i].size = static_cast<std::uint32_t>(node.bytes.size());
        if (node.bytes.size() >= MiniCutoff) {
            bigStreams.push_back(i);
            continue;
        }
        const int count = sectorsFor(node.bytes.size(), MiniSectorSize);
        const auto first = static_cast<std::uint32_t>(miniFat.size());
        miniFat.resize(miniFat.size() + count);
        entries[i].start = chain(miniFat, first, count);
        miniStream.bytes(node.bytes).align(MiniSectorSize);
    }

    const int directorySectors = sectorsFor(128 * qsizetype(entries.size()), SectorSize);
    const int miniFatSectors = sectorsFor(4 * qsizetype(miniFat.size()), SectorSize);
    const int miniStreamSectors = sectorsFor(miniStream.size(), SectorSize);
    int dataSectors = directorySectors + miniFatSectors + miniStreamSectors;
    for (const std::size_t index : bigStreams) {
        dataSectors += sectorsFor(entries[index].node->bytes.size(), SectorSize);
    }
    const int fatSectors = sectorsFor(qsizetype{4} * (dataSectors + 1), SectorSize);
    std::vector<std::uint32_t> fat(std::size_t(fatSectors) * SectorSize / 4, FreeSector);
    std::fill_n(fat.begin(), fatSectors, 0xFFFFFFFD);  // the table's own sectors
    std::uint32_t next = fatSectors;
    const auto place = [&](int count) {
        next += count;
        return chain(fat, next - count, count);
    };
    const std::uint32_t directoryStart = place(directorySectors);
    const std::uint32_t miniFatStart = place(miniFatSectors);
    entries[0].start = place(miniStreamSectors);
    entries[0].size = static_cast<std::uint32_t>(miniStream.size());
    for (const std::size_t index : bigStreams) {
        entries[index].start = place(sectorsFor(entries[index].node->bytes.size(), SectorSize));
    }

    ByteWriter file;
    file.bytes(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).padTo(0x18);
    file.u16les({0x3E, 3, 0xFFFE, 9, 6}).padTo(0x2C);
    file.u32les({fatSectors, directoryStart, 0, MiniCutoff, miniFatStart, miniFatSectors});
    file.u32les({EndOfChain, 0});
    for (int i = 0; i < 109; ++i) {
        file.u32le(i < fatSectors ? static_cast<std::uint32_t>(i) : FreeSector);
    }
    for (const std::uint32_t value : fat) {
        file.u32le(value);
    }
    writeEntry(file, QStringLiteral("Root Entry"), 5, entries[0]);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        writeEntry(file, entries[i].node->name, entries[i].node->isStorage ? 1 : 2, entries[i]);
    }
    file.align(SectorSize);
    for (const std::uint32_t value : miniFat) {
        file.u32le(value);
    }
    file.align(SectorSize).bytes(miniStream.result()).align(SectorSize);
    for (const std::size_t index : bigStreams) {
        file.bytes(entries[index].node->bytes).align(SectorSize);
    }
    return file.result();
}

constexpr int TileSide = 64;

QByteArray propertySet(const QList<std::pair<std::uint32_t, QByteArray>>& properties) {
    ByteWriter table;
    ByteWriter values;
    const qsizetype tableEnd = 8 + 8 * properties.size();
    for (const auto& [id, value] : properties) {
        table.u32les({id, tableEnd + values.size()});
        values.bytes(value);
    }
    ByteWriter set;
    set.u16les({0xFFFE, 0}).u32le(0).fill(16).u32le(1).fill(16).u32le(48);
    set.u32les({tableEnd + values.size(), properties.size()});
    return set.bytes(table.result()).bytes(values.result()).result();
}

QByteArray blob(const QByteArray& content) {
    return ByteWriter().u32les({0x41, content.size()}).bytes(content).align(4).result();
}

int channelValue(QRgb pixel, int channel, int channels) {
    if (channels <= 2) {
        return channel == 0 ? qRed(pixel) : qAlpha(pixel);
    }
    const int values[] = {qRed(pixel), qGreen(pixel), qBlue(pixel), qAlpha(pixel)};
    return values[channel];
}

// A tile of the picture, padded beyond it with its last column and row,
// as writers do.
QImage tileAt(const QImage& picture, int left, int top) {
    QImage tile(TileSide, TileSide, QImage::Format_ARGB32);
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            tile.setPixel(x, y,
                          picture.pixel(std::min(left + x, picture.width() - 1),
                                        std::min(top + y, picture.height() - 1)));
        }
    }
    return tile;
}

QByteArray rawTile(const QImage& tile, int channels) {
    ByteWriter bytes;
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            for (int c = 0; c < channels; ++c) {
                bytes.u8(channelValue(tile.pixel(x, y), c, channels));
            }
        }
    }
    return bytes.result();
}

QByteArray jpegTile(const QImage& tile, int channels) {
    QImage opaque = tile.convertToFormat(QImage::Format_RGB32);
    if (channels == 1) {
        // Grey is the red channel, as for raw tiles.
        QImage grey(TileSide, TileSide, QImage::Format_Grayscale8);
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                grey.scanLine(y)[x] = static_cast<uchar>(qRed(opaque.pixel(x, y)));
            }
        }
        opaque = grey;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    opaque.save(&buffer, "JPEG", 95);
    return bytes;
}

// Moves the quantization and Huffman tables out of a JPEG stream into a
// tables-only stream, as FlashPix shares them among tiles.
std::pair<QByteArray, QByteArray> splitTables(const QByteArray& jpeg) {
    QByteArray tables("\xFF\xD8", 2);
    QByteArray rest("\xFF\xD8", 2);
    qsizetype at = 2;
    while (at + 4 <= jpeg.size()) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        const int length = (static_cast<unsigned char>(jpeg[at + 2]) << 8) |
                           static_cast<unsigned char>(jpeg[at + 3]);
        if (marker == 0xDA) {  // start of scan: the rest is the tile's own
            rest.append(jpeg.sliced(at));
            break;
        }
        (marker == 0xDB || marker == 0xC4 ? tables : rest).append(jpeg.sliced(at, 2 + length));
        at += 2 + length;
    }
    tables.append("\xFF\xD9", 2);
    return {tables, rest};
}

struct EncodedResolution {
    QByteArray header;
    QByteArray data;
    QByteArray sharedTables;
};

EncodedResolution encodeResolution(const QImage& picture, const FlashPixImage& image) {
    const int across = (picture.width() + TileSide - 1) / TileSide;
    const int down = (picture.height() + TileSide - 1) / TileSide;
    ByteWriter header;
    header.fill(28).u32les({36, picture.width(), picture.height(), across * down});
    header.u32les({TileSide, TileSide, image.channels, 36, 16});
    ByteWriter data;
    data.fill(28);
    EncodedResolution encoded;
    for (int row = 0; row < down; ++row) {
        for (int column = 0; column < across; ++column) {
            const QImage tile = tileAt(picture, column * TileSide, row * TileSide);
            QByteArray bytes;
            int compression = 0;
            std::uint32_t subtype = 0;
            if (image.tiles == FlashPixTiles::Raw) {
                bytes = rawTile(tile, image.channels);
            } else if (image.tiles == FlashPixTiles::OneColour) {
                compression = 1;
                for (int c = 0; c < image.channels; ++c) {
                    subtype |= std::uint32_t(channelValue(tile.pixel(0, 0), c, image.channels))
                               << (8 * c);
                }
            } else {
                compression = 2;
                bytes = jpegTile(tile, image.channels);
                subtype = (image.channels == 3 ? 1u : 0u) << 16;  // YCbCr inside
                if (image.tiles == FlashPixTiles::JpegWithSharedTables) {
                    std::tie(encoded.sharedTables, bytes) = splitTables(bytes);
                    subtype |= 1u << 24;
                }
            }
            header.u32les({data.size() - 28, bytes.size(), compression, subtype});
            data.bytes(bytes);
        }
    }
    encoded.header = header.result();
    encoded.data = data.result();
    return encoded;
}

QByteArray colourBlob(const FlashPixImage& image) {
    ByteWriter colour;
    colour.u32les({1, image.channels});
    const bool opacity = image.channels == 2 || image.channels == 4;
    for (int c = 0; c < (opacity ? image.channels - 1 : image.channels); ++c) {
        colour.u32le((image.colourSpace << 16) | static_cast<std::uint32_t>(c));
    }
    if (opacity) {
        colour.u32le((image.colourSpace << 16) | 0x7FFE);
    }
    return colour.result();
}

}  // namespace

QByteArray flashPixFile(const FlashPixImage& image) {
    QList<QImage> resolutions;
    if (image.withSmallerResolution) {
        resolutions.append(image.picture.scaled(std::max(1, image.picture.width() / 2),
                                                std::max(1, image.picture.height() / 2)));
    }
    resolutions.append(image.picture);
    QList<std::pair<std::uint32_t, QByteArray>> properties = {
        {0x01000000, words({3, resolutions.size()})},
        {0x01000002, words({3, image.picture.width()})},
        {0x01000003, words({3, image.picture.height()})}};
    StorageNode store{QStringLiteral("Data Object Store 000001"), true, {}, {}};
    QByteArray sharedTables;
    for (qsizetype i = 0; i < resolutions.size(); ++i) {
        const EncodedResolution encoded = encodeResolution(resolutions[i], image);
        sharedTables = encoded.sharedTables;
        properties.append({0x02000002 | (std::uint32_t(i) << 16), blob(colourBlob(image))});
        store.children.append({QStringLiteral("Resolution %1").arg(i, 4, 10, QLatin1Char('0')),
                               true,
                               {},
                               {{QStringLiteral("Subimage 0000 Header"), false, encoded.header, {}},
                                {QStringLiteral("Subimage 0000 Data"), false, encoded.data, {}}}});
    }
    if (!sharedTables.isEmpty()) {
        properties.append({0x03010001, blob(sharedTables)});
    }
    store.children.prepend(
        {QStringLiteral("\x05Image Contents"), false, propertySet(properties), {}});
    return compoundFile({store});
}

}  // namespace pictarium::test
