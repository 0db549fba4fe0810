#include "imaging/decoders/msp_decoder.h"

#include "imaging/core/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace pictarium {

namespace {

constexpr qsizetype HeaderSize = 32;
constexpr char WhiteByte = '\xFF';  // a set bit is a white pixel

QImage blankMonochrome(int width, int height) {
    QImage picture = allocatePicture(width, height, QImage::Format_Mono);
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return picture;
}

void readPlainRows(QByteArrayView bytes, QImage& picture, qsizetype rowBytes) {
    ByteReader reader(bytes, HeaderSize);
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(picture.scanLine(y), reader.take(rowBytes).data(), rowBytes);
    }
}

// One row: a zero type byte starts a run (count, value), any other type
// byte is the length of literal bytes that follow. Runs past the row's
// end are cut; a short row stays white.
void unpackRow(QByteArrayView packed, char* row, qsizetype rowBytes) {
    std::memset(row, WhiteByte, rowBytes);
    ByteReader reader(packed);
    qsizetype filled = 0;
    while (!reader.atEnd() && filled < rowBytes) {
        const std::uint8_t type = reader.u8();
        if (type == 0) {
            const qsizetype count = reader.u8();
            const char value = static_cast<char>(reader.u8());
            const qsizetype written = std::min(count, rowBytes - filled);
            std::memset(row + filled, value, written);
            filled += written;
        } else {
            const QByteArrayView literal = reader.take(type);
            const qsizetype written = std::min(literal.size(), rowBytes - filled);
            std::memcpy(row + filled, literal.data(), written);
            filled += written;
        }
    }
}

// Version 2 keeps a table of each row's packed length after the header.
void readPackedRows(QByteArrayView bytes, QImage& picture, qsizetype rowBytes) {
    ByteReader lengths(bytes, HeaderSize);
    ByteReader rows(bytes, HeaderSize + 2 * qsizetype{picture.height()});
    for (int y = 0; y < picture.height(); ++y) {
        const qsizetype packedLength = lengths.u16le();
        auto* row = reinterpret_cast<char*>(picture.scanLine(y));
        unpackRow(rows.take(packedLength), row, rowBytes);
    }
}

}  // namespace

QImage decodeMspPicture(QByteArrayView bytes) {
    try {
        ByteReader header(bytes);
        const QByteArrayView key = header.take(4);
        const bool version1 = key == QByteArrayView("DanM");
        const bool version2 = key == QByteArrayView("LinS");
        requireValid(version1 || version2);
        const int width = header.u16le();
        const int height = header.u16le();
        QImage picture = blankMonochrome(width, height);
        const qsizetype rowBytes = (qsizetype{width} + 7) / 8;
        if (version1) {
            readPlainRows(bytes, picture, rowBytes);
        } else {
            readPackedRows(bytes, picture, rowBytes);
        }
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

}  // namespace pictarium
