#pragma once

#include "imaging/core/byte_reader.h"

#include <QByteArrayView>
#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace pictarium::emf {

// One record: its type and all its bytes, type and size fields included.
struct Record {
    std::uint32_t type = 0;
    QByteArrayView bytes;
};

// Cuts a metafile's bytes into records. A record that claims fewer bytes
// than its own type and size, or more than are left, makes the whole file
// unreadable.
class RecordStream {
public:
    explicit RecordStream(QByteArrayView bytes) : mBytes(bytes), mReader(bytes) {}

    [[nodiscard]] bool atEnd() const { return mReader.atEnd(); }
    [[nodiscard]] Record next();

private:
    QByteArrayView mBytes;
    ByteReader mReader;
};

// A rectangle as the records store it: four signed edges, inclusive.
struct RectL {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    [[nodiscard]] QRectF toRectF() const {
        return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    }
};

// Reads a record's fields, by default from just after its type and size,
// never past its end: a record too short for what it claims to hold
// throws MalformedPicture.
class RecordReader {
public:
    explicit RecordReader(const Record& record, qsizetype position = 8)
        : mRecord(record.bytes), mReader(record.bytes, position) {}

    [[nodiscard]] std::uint32_t u32() { return mReader.u32le(); }
    [[nodiscard]] std::int32_t i32() { return static_cast<std::int32_t>(mReader.u32le()); }
    [[nodiscard]] std::int16_t i16() { return static_cast<std::int16_t>(mReader.u16le()); }
    [[nodiscard]] std::uint16_t u16() { return mReader.u16le(); }
    [[nodiscard]] std::uint8_t u8() { return mReader.u8(); }
    [[nodiscard]] float f32();
    [[nodiscard]] QPointF pointL();
    [[nodiscard]] RectL rectL();
    // A COLORREF: red, green, blue, then a flags byte that is ignored.
    [[nodiscard]] QColor colorRef();
    // `count` points of 32-bit or 16-bit coordinates; the count is checked
    // against the record's size before anything is allocated.
    [[nodiscard]] QPolygonF points(std::uint32_t count, bool shortCoordinates);
    [[nodiscard]] QByteArrayView take(qsizetype count) { return mReader.take(count); }
    void skip(qsizetype count) { mReader.skip(count); }
    void skipBounds() { mReader.skip(16); }

    [[nodiscard]] qsizetype remaining() const { return mReader.remaining(); }
    // Whether `count` items of `itemSize` bytes fit in what is left.
    [[nodiscard]] bool holds(std::uint64_t count, qsizetype itemSize) const {
        return count <= static_cast<std::uint64_t>(remaining() / itemSize);
    }
    // The bytes that an offset and a size field of the record point at,
    // offset counted from the record's start; empty when they fall outside.
    [[nodiscard]] QByteArrayView part(std::uint32_t offset, std::uint32_t size) const;

private:
    QByteArrayView mRecord;
    ByteReader mReader;
};

// Little-endian UTF-16 text; an odd last byte is dropped.
[[nodiscard]] QString utf16Text(QByteArrayView bytes);

}  // namespace pictarium::emf
