#include "imaging/decoders/flashpix_decoder.h"

#include "imaging/core/byte_reader.h"
#include "imaging/decoders/compound_file_p.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace pictarium {

namespace {

constexpr int TileSide = 64;
constexpr qsizetype StreamPrefix = 28;  // before the header and data of a subimage
constexpr std::uint32_t ResolutionCountId = 0x01000000;
constexpr std::uint32_t SubimageColourId = 0x02000002;
constexpr std::uint32_t JpegTablesId = 0x03000001;
constexpr std::uint32_t BlobType = 0x41;
constexpr std::uint16_t OpacityChannel = 0x7FFE;

enum class ColourSpace { Grey = 1, PhotoYcc = 2, Rgb = 3 };

// The properties of a property set's first section: numbers and blobs.
using Properties = std::map<std::uint32_t, QByteArray>;

Properties readProperties(QByteArrayView bytes) {
    ByteReader header(bytes, 24);
    requireValid(header.u32le() >= 1);  // sections
    header.skip(16);                    // the section's format
    const std::uint32_t sectionStart = header.u32le();
    requireValid(sectionStart <= static_cast<std::uint64_t>(bytes.size()));
    const QByteArrayView section = bytes.sliced(sectionStart);
    ByteReader reader(section);
    (void)reader.u32le();  // size
    const std::uint32_t count = reader.u32le();
    requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / 8));
    Properties properties;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = reader.u32le();
        const std::uint32_t offset = reader.u32le();
        ByteReader value(section, std::min<qsizetype>(offset, section.size()));
        if (value.remaining() < 8) {
            continue;
        }
        const std::uint32_t type = value.u32le() & 0xFFFF;
        if (type == BlobType) {
            const std::uint32_t size = value.u32le();
            if (size <= static_cast<std::uint64_t>(value.remaining())) {
                properties[id] = value.take(size).toByteArray();
            }
        } else {
            properties[id] = value.take(4).toByteArray();  // the number, kept as its bytes
        }
    }
    return properties;
}

// What a subimage's header says: its size and each tile's place.
struct TileEntry {
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t compression = 0;
    std::array<std::uint8_t, 4> subtype{};
};

struct Subimage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<TileEntry> tiles;
};

Subimage readSubimage(QByteArrayView header) {
    ByteReader reader(header, StreamPrefix);
    (void)reader.u32le();  // header length
    Subimage subimage;
    const std::uint32_t width = reader.u32le();
    const std::uint32_t height = reader.u32le();
    const std::uint32_t tileCount = reader.u32le();
    const std::uint32_t tileWidth = reader.u32le();
    const std::uint32_t tileHeight = reader.u32le();
    const std::uint32_t channels = reader.u32le();
    const std::uint32_t tableOffset = reader.u32le();
    const std::uint32_t entryLength = reader.u32le();
    requireValid(width > 0 && height > 0 && width <= 1u << 20 && height <= 1u << 20);
    requireValid(tileWidth == TileSide && tileHeight == TileSide);
    requireValid(channels >= 1 && channels <= 4 && entryLength >= 16);
    subimage.width = static_cast<int>(width);
    subimage.height = static_cast<int>(height);
    subimage.channels = static_cast<int>(channels);
    const std::uint64_t needed =
        std::uint64_t{(width + TileSide - 1) / TileSide} * ((height + TileSide - 1) / TileSide);
    requireValid(tileCount >= needed);
    ByteReader table(header,
                     std::min<qsizetype>(StreamPrefix + std::int64_t{tableOffset}, header.size()));
    requireValid(needed <= static_cast<std::uint64_t>(table.remaining() / entryLength));
    for (std::uint64_t i = 0; i < needed; ++i) {
        ByteReader entry(table.take(entryLength));
        TileEntry tile;
        tile.offset = entry.u32le();
        tile.size = entry.u32le();
        tile.compression = entry.u32le();
        for (std::uint8_t& byte : tile.subtype) {
            byte = entry.u8();
        }
        subimage.tiles.push_back(tile);
    }
    return subimage;
}

// How the channels are to be read: the colour space and where opacity is.
struct Channels {
    ColourSpace space = ColourSpace::Grey;
    bool withOpacity = false;
    bool premultiplied = false;
};

Channels channelsOf(const Properties& properties, std::uint32_t resolution, int count) {
    Channels channels;
    channels.space = count >= 3 ? ColourSpace::Rgb : ColourSpace::Grey;
    channels.withOpacity = count == 2 || count == 4;
    const auto found = properties.find(SubimageColourId | (resolution << 16));
    if (found == properties.end()) {
        return channels;
    }
    ByteReader colour(found->second, 4);
    requireValid(colour.u32le() == static_cast<std::uint32_t>(count));
    const std::uint32_t first = colour.u32le() & 0x7FFFFFFF;  // the top bit: uncalibrated
    const auto space = static_cast<int>(first >> 16) & 0x7FFF;
    requireValid(space >= 1 && space <= 3);
    channels.space = static_cast<ColourSpace>(space);
    channels.premultiplied = (first & 0x8000) != 0;
    for (int i = 1; i < count; ++i) {
        if ((colour.u32le() & 0x7FFF) == OpacityChannel) {
            channels.withOpacity = true;
        }
    }
    requireValid((channels.space == ColourSpace::Grey) == (count <= 2));
    return channels;
}

// A tile's channel values, 64 x 64 pixels of `channels` bytes each.
using TileValues = QByteArray;

// Marks three JPEG components as the channels themselves: without it the
// JPEG reader takes them for YCbCr.
QByteArray unconvertedMarker() {
    return QByteArray(
        "\xFF\xEE\x00\x0E"
        "Adobe\x00\x64\x00\x00\x00\x00\x00",
        16);
}

// The tile's JPEG stream: the shared tables it names, then its own
// markers, for a reader that wants one stream.
QByteArray jpegStream(QByteArrayView tile, const TileEntry& entry, const Properties& properties) {
    requireValid(tile.startsWith("\xFF\xD8"));
    QByteArray stream("\xFF\xD8", 2);
    if (entry.subtype[2] == 0) {
        stream.append(unconvertedMarker());
    }
    if (const std::uint8_t tables = entry.subtype[3]; tables != 0) {
        const auto found = properties.find(JpegTablesId | (std::uint32_t{tables} << 16));
        requireValid(found != properties.end() && found->second.startsWith("\xFF\xD8"));
        QByteArrayView markers = QByteArrayView(found->second).sliced(2);
        if (markers.endsWith("\xFF\xD9")) {
            markers.chop(2);
        }
        stream.append(markers.data(), markers.size());
    }
    stream.append(tile.sliced(2).data(), tile.size() - 2);
    return stream;
}

TileValues jpegTile(QByteArrayView tile, const TileEntry& entry, int channels,
                    const Properties& properties) {
    requireValid(channels == 1 || channels == 3);  // four-channel JPEG tiles: read nowhere
    const QImage decoded = QImage::fromData(jpegStream(tile, entry, properties), "JPEG");
    requireValid(decoded.width() >= TileSide && decoded.height() >= TileSide);
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    TileValues values(TileSide * TileSide * channels, '\0');
    char* out = values.data();
    for (int y = 0; y < TileSide; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < TileSide; ++x) {
            if (channels == 1) {
                *out++ = static_cast<char>(qRed(row[x]));
            } else {
                *out++ = static_cast<char>(qRed(row[x]));
                *out++ = static_cast<char>(qGreen(row[x]));
                *out++ = static_cast<char>(qBlue(row[x]));
            }
        }
    }
    return values;
}

TileValues tileValues(QByteArrayView data, const TileEntry& entry, int channels,
                      const Properties& properties) {
    const qsizetype valuesSize = qsizetype{TileSide} * TileSide * channels;
    if (entry.compression == 1) {  // one colour
        TileValues values(valuesSize, '\0');
        for (qsizetype i = 0; i < valuesSize; ++i) {
            values[i] = static_cast<char>(entry.subtype[static_cast<std::size_t>(i % channels)]);
        }
        return values;
    }
    const std::uint64_t start = StreamPrefix + std::uint64_t{entry.offset};
    requireValid(start + entry.size <= static_cast<std::uint64_t>(data.size()));
    const QByteArrayView tile = data.sliced(static_cast<qsizetype>(start), entry.size);
    if (entry.compression == 0) {
        requireValid(tile.size() >= valuesSize);
        return tile.first(valuesSize).toByteArray();
    }
    requireValid(entry.compression == 2);
    return jpegTile(tile, entry, channels, properties);
}

int clampByte(double value) {
    return static_cast<int>(std::clamp(std::lround(value), 0l, 255l));
}

// PhotoYCC as Kodak's Photo CD defines it, to RGB.
QRgb fromPhotoYcc(int luma, int blueChroma, int redChroma) {
    const double y = 1.3584 * luma;
    const double c1 = 2.2179 * (blueChroma - 156);
    const double c2 = 1.8215 * (redChroma - 137);
    return qRgb(clampByte(y + c2), clampByte(y - 0.194 * c1 - 0.509 * c2), clampByte(y + c1));
}

QRgb pixelOf(const std::uint8_t* value, const Channels& channels) {
    const int opacity =
        channels.withOpacity ? value[channels.space == ColourSpace::Grey ? 1 : 3] : 255;
    QRgb colour = 0;
    switch (channels.space) {
        case ColourSpace::Grey:
            colour = qRgb(value[0], value[0], value[0]);
            break;
        case ColourSpace::Rgb:
            colour = qRgb(value[0], value[1], value[2]);
            break;
        case ColourSpace::PhotoYcc:
            colour = fromPhotoYcc(value[0], value[1], value[2]);
            break;
    }
    if (channels.premultiplied) {
        // Colours above their opacity are not premultiplied; clamp them.
        return qRgba(std::min(qRed(colour), opacity), std::min(qGreen(colour), opacity),
                     std::min(qBlue(colour), opacity), opacity);
    }
    return qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), opacity));
}

void placeTile(QImage& picture, const TileValues& values, int left, int top, int channelCount,
               const Channels& channels) {
    const int width = std::min(TileSide, picture.width() - left);
    const int height = std::min(TileSide, picture.height() - top);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(values.constData());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(top + y)) + left;
        const std::uint8_t* value = bytes + qsizetype{y} * TileSide * channelCount;
        for (int x = 0; x < width; ++x, value += channelCount) {
            row[x] = pixelOf(value, channels);
        }
    }
}

// The resolution storages of the image, largest picture first.
struct Resolution {
    std::uint32_t number = 0;
    std::uint32_t storage = 0;
    Subimage subimage;
};

Resolution largestResolution(const CompoundFile& file, std::uint32_t store) {
    std::optional<Resolution> largest;
    const QString prefix = QStringLiteral("Resolution ");
    for (const CompoundFile::Child& child : file.children(store)) {
        if (!child.name.startsWith(prefix, Qt::CaseInsensitive)) {
            continue;
        }
        bool numeric = false;
        const std::uint32_t number = child.name.sliced(prefix.size()).toUInt(&numeric);
        const auto header = file.child(child.entry, QStringLiteral("Subimage 0000 Header"));
        if (!numeric || number > 0xFF || !header) {
            continue;
        }
        Subimage subimage = readSubimage(file.stream(*header));
        if (!largest || std::int64_t{subimage.width} * subimage.height >
                            std::int64_t{largest->subimage.width} * largest->subimage.height) {
            largest = Resolution{number, child.entry, std::move(subimage)};
        }
    }
    requireValid(largest.has_value());
    return *largest;
}

QImage decodeImage(const CompoundFile& file) {
    const auto store = file.child(CompoundFile::Root, QStringLiteral("Data Object Store 000001"));
    requireValid(store.has_value());
    const auto contents = file.child(*store, QStringLiteral("\x05Image Contents"));
    requireValid(contents.has_value());
    const Properties properties = readProperties(file.stream(*contents));
    requireValid(properties.count(ResolutionCountId) == 1);

    const Resolution resolution = largestResolution(file, *store);
    const Subimage& subimage = resolution.subimage;
    const Channels channels = channelsOf(properties, resolution.number, subimage.channels);
    const auto dataEntry = file.child(resolution.storage, QStringLiteral("Subimage 0000 Data"));
    requireValid(dataEntry.has_value());
    const QByteArray data = file.stream(*dataEntry);

    QImage picture =
        allocatePicture(subimage.width, subimage.height, QImage::Format_ARGB32_Premultiplied);
    const int across = (subimage.width + TileSide - 1) / TileSide;
    for (std::size_t i = 0; i < subimage.tiles.size(); ++i) {
        const int left = static_cast<int>(i % across) * TileSide;
        const int top = static_cast<int>(i / across) * TileSide;
        placeTile(picture, tileValues(data, subimage.tiles[i], subimage.channels, properties), left,
                  top, subimage.channels, channels);
    }
    return picture;
}

}  // namespace

QImage decodeFlashPix(QByteArrayView bytes) {
    try {
        return decodeImage(CompoundFile(bytes));
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
