#include "tests/imaging/flashpix_writer.h"

#include "tests/imaging/byte_writer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-memory.h>

#include <QBuffer>
#include <QString>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

namespace pictarium::test {

namespace {

// One entry of a compound file: a storage of children or a stream of bytes.
struct StorageNode {
    QString name;
    bool isStorage = false;
    QByteArray bytes;
    QList<StorageNode> children;
};

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Output = std::unique_ptr<GsfOutput, Unref>;

void writeNode(GsfOutfile* parent, const StorageNode& node) {
    const Output child(gsf_outfile_new_child(parent, node.name.toUtf8().constData(),
                                             node.isStorage ? TRUE : FALSE));
    for (const StorageNode& each : node.children) {
        writeNode(GSF_OUTFILE(child.get()), each);
    }
    gsf_output_write(child.get(), static_cast<std::size_t>(node.bytes.size()),
                     reinterpret_cast<const guint8*>(node.bytes.constData()));
    gsf_output_close(child.get());
}

// A compound file holding the root's children, as libgsf lays it out: the
// writer of Gnumeric's workbooks, so the reader meets a layout not of our
// own making.
QByteArray compoundFile(const QList<StorageNode>& rootChildren) {
    const Output sink(gsf_output_memory_new());
    const Output root(GSF_OUTPUT(gsf_outfile_msole_new(sink.get())));
    for (const StorageNode& node : rootChildren) {
        writeNode(GSF_OUTFILE(root.get()), node);
    }
    gsf_output_close(root.get());
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    return QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(gsf_output_size(sink.get())));
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
