#include "tests/imaging/metafile/wmf_writer.h"

#include "tests/imaging/bitmap_bytes.h"

#include <algorithm>

namespace pictarium::test {

WmfWriter& WmfWriter::record(int function, const QByteArray& parameters) {
    const QByteArray padded = ByteWriter().bytes(parameters).align(2).result();
    const int words = 3 + static_cast<int>(padded.size() / 2);
    mLargestRecord = std::max(mLargestRecord, words);
    mRecords.u32le(static_cast<std::uint32_t>(words)).u16le(function).bytes(padded);
    return *this;
}

WmfWriter& WmfWriter::createFont(int height, const QString& face, int charset) {
    ByteWriter parameters;
    parameters.u16les({height, 0, 0, 0, 400});
    parameters.u8(0).u8(0).u8(0).u8(charset).u8(0).u8(0).u8(0).u8(0x22);
    return record(0x02FB, parameters.bytes(face.toLatin1()).u8(0).result());
}

WmfWriter& WmfWriter::createRegion(const QList<QRect>& spans) {
    ByteWriter scans;
    QRect bounds;
    for (const QRect& span : spans) {
        bounds = bounds.united(span);
        scans.u16les({2, span.top(), span.bottom() + 1, span.left(), span.right() + 1, 2});
    }
    ByteWriter parameters;
    parameters.u16les({0, 6}).u32le(0).u16les({int(22 + scans.size()), int(spans.size()), 2});
    parameters.u16les({bounds.left(), bounds.top(), bounds.right() + 1, bounds.bottom() + 1});
    return record(0x06FF, parameters.bytes(scans.result()).result());
}

WmfWriter& WmfWriter::extTextOut(QPoint reference, const QByteArray& text,
                                 const QList<int>& advances) {
    ByteWriter parameters;
    parameters.u16les({reference.y(), reference.x(), int(text.size()), 0}).bytes(text).align(2);
    for (const int advance : advances) {
        parameters.u16le(advance);
    }
    return record(0x0A32, parameters.result());
}

WmfWriter& WmfWriter::stretchDib(const QImage& picture, QRect destination,
                                 std::uint32_t operation) {
    ByteWriter parameters;
    parameters.u32le(operation).u16les({0, picture.height(), picture.width(), 0, 0});
    parameters.u16les({destination.height(), destination.width()});
    parameters.u16les({destination.top(), destination.left()});
    return record(0x0F43, parameters.bytes(dib24(picture)).result());
}

QByteArray WmfWriter::finish() const {
    ByteWriter file;
    if (mPlaced) {
        file.u32le(0x9AC6CDD7).u16les({0, mPlaced->left(), mPlaced->top()});
        file.u16les({mPlaced->right() + 1, mPlaced->bottom() + 1, mUnitsPerInch}).u32le(0);
        file.u16le(xorOfWords(file.result(), 10));
    }
    const auto words = static_cast<std::uint32_t>((18 + mRecords.size() + 6) / 2);
    file.u16les({1, 9, 0x0300}).u32le(words);
    file.u16le(8).u32le(static_cast<std::uint32_t>(mLargestRecord)).u16le(0);
    return file.bytes(mRecords.result()).u32le(3).u16le(0).result();  // the end record
}

}  // namespace pictarium::test
