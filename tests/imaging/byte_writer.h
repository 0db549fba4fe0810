#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

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

    [[nodiscard]] qsizetype size() const { return mBytes.size(); }
    [[nodiscard]] const QByteArray& result() const { return mBytes; }

private:
    QByteArray mBytes;
};

}  // namespace pictarium::test
