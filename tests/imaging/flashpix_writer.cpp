#include "tests/imaging/flashpix_writer.h"

#include "tests/imaging/byte_writer.h"

#include <QBuffer>

#include <algorithm>
#include <vector>

namespace pictarium::test {

namespace {

constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr int MiniCutoff = 4096;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t FatSector = 0xFFFFFFFD;
constexpr std::uint32_t NoEntry = 0xFFFFFFFF;

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
        if (previous == NoEntry) {
            entries[parent].child = index;
        } else {
            entries[previous].right = index;
        }
        previous = index;
        if (node.isStorage) {
            flatten(node.children, index, entries);
        }
    }
}

int sectorsFor(qsizetype bytes, int size) {
    return static_cast<int>((bytes + size - 1) / size);
}

void chain(std::vector<std::uint32_t>& table, std::uint32_t start, int count) {
    for (int i = 0; i < count; ++i) {
        table[start + i] = i + 1 < count ? start + i + 1 : EndOfChain;
    }
}

void writeEntry(ByteWriter& directory, const QString& name, int type, const FlatEntry& entry) {
    const qsizetype start = directory.size();
    for (const QChar character : name) {
        directory.u16le(character.unicode());
    }
    directory.padTo(start + 64).u16le(static_cast<int>(2 * (name.size() + 1)));
    directory.u8(type).u8(1).u32le(NoEntry).u32le(entry.right).u32le(entry.child);
    directory.padTo(start + 116).u32le(entry.start).u32le(entry.size).u32le(0);
}

}  // namespace

QByteArray compoundFile(const QList<StorageNode>& rootChildren) {
    std::vector<FlatEntry> entries(1);
    flatten(rootChildren, 0, entries);

    // The mini stream: small streams one after another, in 64-byte steps.
    QByteArray miniStream;
    std::vector<std::uint32_t> miniFat;
    QList<std::pair<std::size_t, const QByteArray*>> bigStreams;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const StorageNode& node = *entries[i].node;
        if (node.isStorage) {
            continue;
        }
        entries[i].size = static_cast<std::uint32_t>(node.bytes.size());
        if (node.bytes.size() >= MiniCutoff) {
            bigStreams.append({i, &node.bytes});
            continue;
        }
        const int count = sectorsFor(node.bytes.size(), MiniSectorSize);
        const auto first = static_cast<std::uint32_t>(miniFat.size());
        miniFat.resize(miniFat.size() + count);
        chain(miniFat, first, count);
        entries[i].start = count > 0 ? first : EndOfChain;
        miniStream.append(node.bytes);
        miniStream.append(QByteArray(count * MiniSectorSize - node.bytes.size(), '\0'));
    }

    const int directorySectors =
        sectorsFor(qsizetype{128} * static_cast<qsizetype>(entries.size()), SectorSize);
    const int miniFatSectors =
        sectorsFor(qsizetype{4} * static_cast<qsizetype>(miniFat.size()), SectorSize);
    const int miniStreamSectors = sectorsFor(miniStream.size(), SectorSize);
    int bigSectors = 0;
    for (const auto& [index, bytes] : bigStreams) {
        bigSectors += sectorsFor(bytes->size(), SectorSize);
    }
    const int dataSectors = directorySectors + miniFatSectors + miniStreamSectors + bigSectors;
    const int fatSectors = sectorsFor(qsizetype{4} * (dataSectors + 1), SectorSize);
    std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatSectors) * SectorSize / 4,
                                   FreeSector);
    std::uint32_t next = 0;
    const auto place = [&](int count) {
        const std::uint32_t first = next;
        chain(fat, first, count);
        next += count;
        return count > 0 ? first : EndOfChain;
    };
    for (int i = 0; i < fatSectors; ++i) {
        fat[next++] = FatSector;
    }
    const std::uint32_t directoryStart = place(directorySectors);
    const std::uint32_t miniFatStart = place(miniFatSectors);
    entries[0].start = place(miniStreamSectors);
    entries[0].size = static_cast<std::uint32_t>(miniStream.size());
    for (const auto& [index, bytes] : bigStreams) {
        entries[index].start = place(sectorsFor(bytes->size(), SectorSize));
    }

    ByteWriter file;
    file.bytes(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).padTo(0x18);
    file.u16le(0x3E).u16le(3).u16le(0xFFFE).u16le(9).u16le(6).padTo(0x2C);
    file.u32le(static_cast<std::uint32_t>(fatSectors)).u32le(directoryStart).u32le(0);
    file.u32le(MiniCutoff).u32le(miniFatStart).u32le(static_cast<std::uint32_t>(miniFatSectors));
    file.u32le(EndOfChain).u32le(0);
    for (int i = 0; i < 109; ++i) {
        file.u32le(i < fatSectors ? static_cast<std::uint32_t>(i) : FreeSector);
    }
    const auto sectorAligned = [&file] {
        file.padTo(((file.size() + SectorSize - 1) / SectorSize) * SectorSize);
    };
    for (const std::uint32_t value : fat) {
        file.u32le(value);
    }
    ByteWriter directory;
    writeEntry(directory, QStringLiteral("Root Entry"), 5, entries[0]);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        writeEntry(directory, entries[i].node->name, entries[i].node->isStorage ? 1 : 2,
                   entries[i]);
    }
    file.bytes(directory.result());
    sectorAligned();
    for (const std::uint32_t value : miniFat) {
        file.u32le(value);
    }
    sectorAligned();
    file.bytes(miniStream);
    sectorAligned();
    for (const auto& [index, bytes] : bigStreams) {
        file.bytes(*bytes);
        sectorAligned();
    }
    return file.result();
}

namespace {

constexpr int TileSide = 64;

QByteArray propertySet(const QList<std::pair<std::uint32_t, QByteArray>>& properties) {
    ByteWriter values;
    QList<std::uint32_t> offsets;
    const qsizetype tableEnd = 8 + 8 * properties.size();
    for (const auto& [id, value] : properties) {
        offsets.append(static_cast<std::uint32_t>(tableEnd + values.size()));
        values.bytes(value);
    }
    ByteWriter section;
    section.u32le(static_cast<std::uint32_t>(tableEnd + values.size()));
    section.u32le(static_cast<std::uint32_t>(properties.size()));
    for (qsizetype i = 0; i < properties.size(); ++i) {
        section.u32le(properties[i].first).u32le(offsets[i]);
    }
    section.bytes(values.result());
    ByteWriter set;
    set.u16le(0xFFFE).u16le(0).u32le(0).fill(16).u32le(1).fill(16).u32le(48);
    set.bytes(section.result());
    return set.result();
}

QByteArray number(std::uint32_t value) {
    ByteWriter bytes;
    bytes.u32le(3).u32le(value);
    return bytes.result();
}

QByteArray blob(const QByteArray& content) {
    ByteWriter bytes;
    bytes.u32le(0x41).u32le(static_cast<std::uint32_t>(content.size())).bytes(content);
    while (bytes.size() % 4 != 0) {
        bytes.u8(0);
    }
    return bytes.result();
}

int channelValue(QRgb pixel, int channel, int channels) {
    if (channels <= 2) {
        return channel == 0 ? qRed(pixel) : qAlpha(pixel);
    }
    const int values[] = {qRed(pixel), qGreen(pixel), qBlue(pixel), qAlpha(pixel)};
    return values[channel];
}

// A tile's values, padded beyond the picture with its last column and row.
QByteArray rawTile(const QImage& picture, int left, int top, int channels) {
    QByteArray tile;
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            const QRgb pixel = picture.pixel(std::min(left + x, picture.width() - 1),
                                             std::min(top + y, picture.height() - 1));
            for (int c = 0; c < channels; ++c) {
                tile.append(static_cast<char>(channelValue(pixel, c, channels)));
            }
        }
    }
    return tile;
}

QByteArray jpegTile(const QImage& picture, int left, int top, int channels) {
    // Padded beyond the picture with its last column and row, as writers do.
    QImage tile(TileSide, TileSide, QImage::Format_RGB32);
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            tile.setPixel(x, y,
                          picture.pixel(std::min(left + x, picture.width() - 1),
                                        std::min(top + y, picture.height() - 1)));
        }
    }
    if (channels == 1) {
        // Grey is the red channel, as for raw tiles.
        QImage grey(TileSide, TileSide, QImage::Format_Grayscale8);
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                grey.scanLine(y)[x] = static_cast<uchar>(qRed(tile.pixel(x, y)));
            }
        }
        tile = grey;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "JPEG", 95);
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
    ByteWriter entries;
    ByteWriter data;
    data.fill(28);
    EncodedResolution encoded;
    for (int row = 0; row < down; ++row) {
        for (int column = 0; column < across; ++column) {
            const int left = column * TileSide;
            const int top = row * TileSide;
            QByteArray tile;
            int compression = 0;
            std::uint32_t subtype = 0;
            if (image.tiles == FlashPixTiles::Raw) {
                tile = rawTile(picture, left, top, image.channels);
            } else if (image.tiles == FlashPixTiles::OneColour) {
                compression = 1;
                const QRgb pixel = picture.pixel(left, top);
                for (int c = 0; c < image.channels; ++c) {
                    subtype |= std::uint32_t(channelValue(pixel, c, image.channels)) << (8 * c);
                }
            } else {
                compression = 2;
                tile = jpegTile(picture, left, top, image.channels);
                subtype = (image.channels == 3 ? 1u : 0u) << 16;  // YCbCr inside
                if (image.tiles == FlashPixTiles::JpegWithSharedTables) {
                    auto [tables, rest] = splitTables(tile);
                    encoded.sharedTables = tables;
                    tile = rest;
                    subtype |= 1u << 24;
                }
            }
            entries.u32le(static_cast<std::uint32_t>(data.size() - 28));
            entries.u32le(static_cast<std::uint32_t>(tile.size()));
            entries.u32le(static_cast<std::uint32_t>(compression)).u32le(subtype);
            data.bytes(tile);
        }
    }
    ByteWriter header;
    header.fill(28).u32le(36).u32le(static_cast<std::uint32_t>(picture.width()));
    header.u32le(static_cast<std::uint32_t>(picture.height()));
    header.u32le(static_cast<std::uint32_t>(across * down)).u32le(TileSide).u32le(TileSide);
    header.u32le(static_cast<std::uint32_t>(image.channels)).u32le(36).u32le(16);
    header.bytes(entries.result());
    encoded.header = header.result();
    encoded.data = data.result();
    return encoded;
}

QByteArray colourBlob(const FlashPixImage& image) {
    ByteWriter colour;
    colour.u32le(1).u32le(static_cast<std::uint32_t>(image.channels));
    const bool opacity = image.channels == 2 || image.channels == 4;
    const int colours = opacity ? image.channels - 1 : image.channels;
    for (int c = 0; c < colours; ++c) {
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
    QList<std::pair<std::uint32_t, QByteArray>> properties;
    properties.append({0x01000000, number(static_cast<std::uint32_t>(resolutions.size()))});
    properties.append({0x01000002, number(static_cast<std::uint32_t>(image.picture.width()))});
    properties.append({0x01000003, number(static_cast<std::uint32_t>(image.picture.height()))});
    StorageNode store{QStringLiteral("Data Object Store 000001"), true, {}, {}};
    QByteArray sharedTables;
    for (qsizetype i = 0; i < resolutions.size(); ++i) {
        const EncodedResolution encoded = encodeResolution(resolutions[i], image);
        sharedTables = encoded.sharedTables;
        properties.append({0x02000002 | (std::uint32_t(i) << 16), blob(colourBlob(image))});
        StorageNode resolution{
            QStringLiteral("Resolution %1").arg(i, 4, 10, QLatin1Char('0')), true, {}, {}};
        resolution.children.append(
            {QStringLiteral("Subimage 0000 Header"), false, encoded.header, {}});
        resolution.children.append({QStringLiteral("Subimage 0000 Data"), false, encoded.data, {}});
        store.children.append(resolution);
    }
    if (!sharedTables.isEmpty()) {
        properties.append({0x03010001, blob(sharedTables)});
    }
    store.children.prepend(
        {QStringLiteral("\x05Image Contents"), false, propertySet(properties), {}});
    return compoundFile({store});
}

}  // namespace pictarium::test
