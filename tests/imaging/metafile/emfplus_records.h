#pragma once

#include "tests/imaging/byte_writer.h"
#include "tests/imaging/metafile/emf_writer.h"

#include <QByteArray>
#include <QRgb>

#include <bit>
#include <cstdint>
#include <initializer_list>

namespace pictarium::test {

inline constexpr int ColourFlag = 0x8000;
inline constexpr int BrushObject = 1 << 8;
inline constexpr int PenObject = 2 << 8;
inline constexpr int PathObject = 3 << 8;
inline constexpr int ImageObject = 5 << 8;
inline constexpr int FontObject = 6 << 8;

// EMF+ records, gathered into comment records of a plain metafile.
class PlusRecords {
public:
    PlusRecords() {
        ByteWriter header;
        header.u32le(0xDBC01002).u32le(0).u32le(96).u32le(96);
        add(0x4001, 0, header.result());
    }

    PlusRecords& add(int type, int flags, const QByteArray& data) {
        mRecords.u16le(type).u16le(flags);
        mRecords.u32le(static_cast<std::uint32_t>(12 + data.size()));
        mRecords.u32le(static_cast<std::uint32_t>(data.size())).bytes(data);
        return *this;
    }

    // Moves the records gathered so far into one comment of the metafile.
    void flushInto(EmfWriter& emf) {
        emf.comment(QByteArray("EMF+") + mRecords.result());
        mRecords = ByteWriter();
    }

private:
    ByteWriter mRecords;
};

inline QByteArray floats(std::initializer_list<float> values) {
    ByteWriter bytes;
    for (const float value : values) {
        bytes.u32le(std::bit_cast<std::uint32_t>(value));
    }
    return bytes.result();
}

inline QByteArray words(std::initializer_list<std::uint32_t> values) {
    ByteWriter bytes;
    for (const std::uint32_t value : values) {
        bytes.u32le(value);
    }
    return bytes.result();
}

inline QByteArray solidBrush(QRgb colour) {
    return words({0xDBC01002, 0, colour});
}

// A path object: a closed triangle between 30 and 90 across, 10 and 70 down.
inline QByteArray triangle() {
    ByteWriter path;
    path.bytes(words({0xDBC01002, 3, 0}));
    path.bytes(floats({60, 10, 90, 70, 30, 70}));
    path.u8(0).u8(1).u8(0x81);
    return path.result();
}

// A red rectangle, for FillRects with the colour flag.
inline QByteArray fillRect(float x, float y, float width, float height) {
    return words({0xFFFF0000, 1}) + floats({x, y, width, height});
}

}  // namespace pictarium::test
