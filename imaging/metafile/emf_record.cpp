#include "imaging/metafile/emf_record_p.h"

#include "base/byte_order.h"

#include <bit>

namespace pictarium::emf {

namespace {

constexpr qsizetype RecordHeaderSize = 8;

}  // namespace

Record RecordStream::next() {
    const qsizetype start = mReader.position();
    const std::uint32_t type = mReader.u32le();
    const qsizetype size = mReader.u32le();
    requireValid(size >= RecordHeaderSize && size - RecordHeaderSize <= mReader.remaining());
    mReader.skip(size - RecordHeaderSize);
    return {type, mBytes.sliced(start, size)};
}

float RecordReader::f32() {
    return std::bit_cast<float>(mReader.u32le());
}

QPointF RecordReader::pointL() {
    const std::int32_t x = i32();
    return QPointF(x, i32());
}

RectL RecordReader::rectL() {
    RectL rect;
    rect.left = i32();
    rect.top = i32();
    rect.right = i32();
    rect.bottom = i32();
    return rect;
}

QColor RecordReader::colorRef() {
    const int red = u8();
    const int green = u8();
    const int blue = u8();
    (void)u8();
    return QColor(red, green, blue);
}

QPolygonF RecordReader::points(std::uint32_t count, bool shortCoordinates) {
    const qsizetype pointSize = shortCoordinates ? 4 : 8;
    requireValid(holds(count, pointSize));
    QPolygonF polygon;
    polygon.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (shortCoordinates) {
            const std::int16_t x = i16();
            polygon.append(QPointF(x, i16()));
        } else {
            polygon.append(pointL());
        }
    }
    return polygon;
}

QByteArrayView RecordReader::part(std::uint32_t offset, std::uint32_t size) const {
    const auto recordSize = static_cast<std::uint64_t>(mRecord.size());
    if (offset > recordSize || size > recordSize - offset) {
        return {};
    }
    return mRecord.sliced(offset, size);
}

QString utf16Text(QByteArrayView bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        text[i] = QChar(static_cast<char16_t>(getUint16(bytes.data() + 2 * i)));
    }
    return text;
}

}  // namespace pictarium::emf
