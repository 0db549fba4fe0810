#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRect>
#include <QRgb>

#include <bit>
#include <cstdint>
#include <functional>
#include <initializer_list>

namespace pictarium::test {

// Builds a file byte by byte, for the formats no library here can write.
class ByteWriter {
public:
    ByteWriter& u8(int value) {
        mBytes.append(static_cast<char>(value & 0xFF));
        return *this;
    }
    ByteWriter& u16le(int value) { return u8(value).u8(value >> 8); }
    ByteWriter& u16be(int value) { return u8(value >> 8).u8(value); }
    ByteWriter& u32le(std::uint32_t value) {
        return u16le(static_cast<int>(value & 0xFFFF)).u16le(static_cast<int>(value >> 16));
    }
    ByteWriter& u32be(std::uint32_t value) {
        return u16be(static_cast<int>(value >> 16)).u16be(static_cast<int>(value & 0xFFFF));
    }
    // Several fields of one kind; negative values are written as their
    // two's complement.
    ByteWriter& u8s(std::initializer_list<int> values) { return each(values, &ByteWriter::u8); }
    ByteWriter& u16les(std::initializer_list<int> values) {
        return each(values, &ByteWriter::u16le);
    }
    ByteWriter& u16bes(std::initializer_list<int> values) {
        return each(values, &ByteWriter::u16be);
    }
    ByteWriter& u32les(std::initializer_list<std::int64_t> values) {
        return each(values, [](ByteWriter& out, std::int64_t value) {
            out.u32le(static_cast<std::uint32_t>(value));
        });
    }
    ByteWriter& floats(std::initializer_list<float> values) {
        return each(values, [](ByteWriter& out, float value) {
            out.u32le(std::bit_cast<std::uint32_t>(value));
        });
    }
    ByteWriter& bytes(QByteArrayView data) {
        mBytes.append(data.data(), data.size());
        return *this;
    }
    ByteWriter& fill(qsizetype count, char value = 0) {
        mBytes.append(count, value);
        return *this;
    }
    // Pads with `value` up to `size` bytes in all.
    ByteWriter& padTo(qsizetype size, char value = 0) { return fill(size - mBytes.size(), value); }
    // Pads with zeros up to a multiple of `unit` bytes.
    ByteWriter& align(qsizetype unit) { return padTo((mBytes.size() + unit - 1) / unit * unit); }

    [[nodiscard]] qsizetype size() const { return mBytes.size(); }
    [[nodiscard]] const QByteArray& result() const { return mBytes; }

private:
    template <typename Value, typename Write>
    ByteWriter& each(std::initializer_list<Value> values, Write write) {
        for (const Value value : values) {
            std::invoke(write, *this, value);
        }
        return *this;
    }

    QByteArray mBytes;
};

// 32-bit little-endian fields, and floats, as one run of bytes.
inline QByteArray words(std::initializer_list<std::int64_t> values) {
    return ByteWriter().u32les(values).result();
}
inline QByteArray floats(std::initializer_list<float> values) {
    return ByteWriter().floats(values).result();
}

// A colour as Windows metafiles hold it: red in the low byte.
inline std::uint32_t colorRef(QRgb colour) {
    return static_cast<std::uint32_t>(qRed(colour) | (qGreen(colour) << 8) | (qBlue(colour) << 16));
}

// A rectangle of edges, as metafile records give them.
inline QRect edges(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The exclusive or of the first `count` little-endian 16-bit words: the
// checksum of placeable metafile and Microsoft Paint headers.
inline int xorOfWords(QByteArrayView bytes, int count) {
    int checksum = 0;
    for (int i = 0; i < 2 * count; i += 2) {
        checksum ^= static_cast<uchar>(bytes[i]) | (static_cast<uchar>(bytes[i + 1]) << 8);
    }
    return checksum;
}

}  // namespace pictarium::test
