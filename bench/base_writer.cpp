#include "bench/base_writer.h"

#include "engine/bdp_format.h"
#include "imaging/core/bitmap_codec.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace pictarium::bench {

namespace {

void writeAll(QFile& file, const char* data, qint64 size) {
    if (file.write(data, size) != size) {
        throw std::runtime_error("cannot write " + file.fileName().toStdString() + ": " +
                                 file.errorString().toStdString());
    }
}

void writeAll(QFile& file, const QByteArray& bytes) {
    writeAll(file, bytes.constData(), bytes.size());
}

QByteArray storedText(const QString& description) {
    QByteArray bytes = TextToBytes(description);
    FlipBytes(bytes);
    return bytes;
}

std::int32_t toOffset(std::int64_t value) {
    if (value > std::numeric_limits<std::int32_t>::max()) {
        throw std::runtime_error("a base of this size does not fit in the format");
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

QImage makeTestPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            line[3 * x] = static_cast<uchar>(x * 7 + y);
            line[3 * x + 1] = static_cast<uchar>(y * 5 + (x ^ y));
            line[3 * x + 2] = static_cast<uchar>((x * y) >> 3);
        }
    }
    return picture;
}

QImage photoLikePicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    std::uint32_t grain = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            grain = grain * 1664525 + 1013904223;
            const int noise = int(grain >> 28) - 8;
            const int light = int(128 + 90 * std::sin(x * 0.002) * std::cos(y * 0.003));
            const int edge = ((x / 37 + y / 53) % 5 == 0) ? 60 : 0;
            line[x] = qRgb(std::clamp(light + noise + edge, 0, 255),
                           std::clamp(light / 2 + 60 + noise, 0, 255),
                           std::clamp(255 - light + noise - edge, 0, 255));
        }
    }
    return picture;
}

QByteArray storedPictureBytes(const QImage& picture) {
    const QByteArray file = bitmapFileOf(picture);
    if (file.size() <= 3) {
        throw std::runtime_error("cannot make a bitmap file of the test picture");
    }
    return file.mid(3);
}

QByteArray rebuiltBitmapFile(const QByteArray& storedPicture) {
    QByteArray file(RebuiltBitmapPrefix.data(), RebuiltBitmapPrefix.size());
    file += storedPicture;
    return file;
}

void writeBase(const QString& path, std::int32_t count, const QByteArray& storedPicture,
               const std::function<QString(std::int32_t)>& description) {
    std::vector<QByteArray> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        texts.push_back(storedText(description(i)));
    }

    QByteArray index;
    index.reserve(static_cast<qsizetype>(count) * IndexEntrySize);
    std::int64_t textOffset = FirstTextOffset;
    for (const QByteArray& text : texts) {
        IndexEntry entry;
        entry.TextOffset = toOffset(textOffset);
        entry.TextLength = static_cast<std::int32_t>(text.size());
        entry.PicOffset = toOffset(textOffset + text.size());
        entry.PicLength = static_cast<std::int32_t>(storedPicture.size());
        const EntryBytes bytes = encodeEntry(entry);
        index.append(bytes.data(), IndexEntrySize);
        textOffset += text.size() + storedPicture.size();
    }
    toOffset(textOffset + index.size());

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    const auto header = encodeHeader(count);
    writeAll(file, header.data(), HeaderSize);
    writeAll(file, index);
    for (const QByteArray& text : texts) {
        writeAll(file, text);
        writeAll(file, storedPicture);
    }
}

std::int32_t recordsForSize(std::int64_t bytes, const QByteArray& storedPicture,
                            const QString& description) {
    const std::int64_t recordBytes = IndexEntrySize + description.size() + storedPicture.size();
    const std::int64_t count = (bytes - HeaderSize + recordBytes - 1) / recordBytes;
    return toOffset(std::max<std::int64_t>(count, 1));
}

}  // namespace pictarium::bench
