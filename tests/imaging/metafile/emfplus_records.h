#pragma once

#include "tests/imaging/byte_writer.h"
#include "tests/imaging/metafile/emf_writer.h"

#include <QByteArray>
#include <QRgb>

#include <cstdint>

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
    PlusRecords() { add(0x4001, 0, words({0xDBC01002, 0, 96, 96})); }

    PlusRecords& add(int type, int flags, const QByteArray& data) {
        mRecords.u16les({type, flags}).u32les({12 + data.size(), data.size()}).bytes(data);
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

inline QByteArray solidBrush(QRgb colour) {
    return words({0xDBC01002, 0, colour});
}

// A path object: a closed triangle between 30 and 90 across, 10 and 70 down.
inline QByteArray triangle() {
    return words({0xDBC01002, 3, 0}) + floats({60, 10, 90, 70, 30, 70}) +
           QByteArray("\x00\x01\x81", 3);
}

// An image object whose data is a metafile of `kind` (2 placeable WMF, 3 EMF).
inline QByteArray metafileImage(std::uint32_t kind, const QByteArray& metafile) {
    return words({0xDBC01002, 2, kind, metafile.size()}) + metafile;
}

// A red rectangle, for FillRects with the colour flag.
inline QByteArray fillRect(float x, float y, float width, float height) {
    return words({0xFFFF0000, 1}) + floats({x, y, width, height});
}

}  // namespace pictarium::test
