#pragma once

#include "imaging/core/byte_reader.h"

#include <QByteArrayView>
#include <QRect>

#include <cstdint>

namespace pictarium::wmf {

// The record functions this reader acts on; every other one is skipped.
namespace Function {
enum : std::uint16_t {
    EndOfFile = 0x0000,
    SaveDc = 0x001E,
    CreatePalette = 0x00F7,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    RestoreDc = 0x0127,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DibCreatePatternBrush = 0x0142,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    FillRegion = 0x0228,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    SetPixel = 0x041F,
    FrameRegion = 0x0429,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    CreateRegion = 0x06FF,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    BitBlt = 0x0922,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    StretchBlt = 0x0B23,
    DibStretchBlt = 0x0B41,
    SetDibToDevice = 0x0D33,
    StretchDib = 0x0F43,
};
}  // namespace Function

// One record: its function and the parameters after its six-byte head.
struct Record {
    std::uint16_t function = 0;
    QByteArrayView parameters;
};

// Cuts the records that follow a metafile's header. A record that claims
// fewer bytes than its own head, or more than are left, makes the whole
// file unreadable.
class RecordStream {
public:
    explicit RecordStream(QByteArrayView records) : mReader(records) {}

    // Fewer bytes than a record's head count as the end: writers pad files.
    [[nodiscard]] bool atEnd() const { return mReader.remaining() < 6; }
    [[nodiscard]] Record next() {
        const std::uint32_t words = mReader.u32le();
        const std::uint16_t function = mReader.u16le();
        requireValid(words >= 3 &&
                     words - 3 <= static_cast<std::uint64_t>(mReader.remaining() / 2));
        return Record{function, mReader.take(2 * (qsizetype{words} - 3))};
    }

private:
    ByteReader mReader;
};

// Reads a record's 16-bit parameters in order; past the end throws
// MalformedPicture.
class ParameterReader {
public:
    explicit ParameterReader(const Record& record) : mReader(record.parameters) {}

    [[nodiscard]] std::int16_t i16() { return static_cast<std::int16_t>(mReader.u16le()); }
    [[nodiscard]] std::uint16_t u16() { return mReader.u16le(); }
    [[nodiscard]] std::uint32_t u32() { return mReader.u32le(); }
    [[nodiscard]] std::uint8_t u8() { return mReader.u8(); }
    [[nodiscard]] QByteArrayView take(qsizetype count) { return mReader.take(count); }
    [[nodiscard]] QByteArrayView rest() { return mReader.take(mReader.remaining()); }
    void skip(qsizetype count) { mReader.skip(count); }
    [[nodiscard]] qsizetype remaining() const { return mReader.remaining(); }
    // A point stored y first, as most records store their coordinates.
    [[nodiscard]] QPoint pointYX() {
        const int y = i16();
        return QPoint(i16(), y);
    }
    // A rectangle stored bottom, right, top, left: edges, not a size.
    [[nodiscard]] QRect edgesBRTL() {
        const int bottom = i16();
        const int right = i16();
        const int top = i16();
        const int left = i16();
        return QRect(QPoint(left, top), QPoint(right, bottom));
    }

private:
    ByteReader mReader;
};

}  // namespace pictarium::wmf
