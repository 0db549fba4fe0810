#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QPoint>

#include <cstdint>
#include <cstring>

namespace pictarium::emf {

// Builds one enhanced-metafile record: its type, a size filled in by
// result(), then the fields in order.
class RecordWriter {
public:
    explicit RecordWriter(std::uint32_t type) {
        u32(type);
        u32(0);
    }

    RecordWriter& u32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            mBytes.append(static_cast<char>((value >> shift) & 0xFF));
        }
        return *this;
    }
    RecordWriter& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    RecordWriter& u16(std::uint16_t value) {
        mBytes.append(static_cast<char>(value & 0xFF));
        mBytes.append(static_cast<char>(value >> 8));
        return *this;
    }
    RecordWriter& u8(std::uint8_t value) {
        mBytes.append(static_cast<char>(value));
        return *this;
    }
    RecordWriter& f32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return u32(bits);
    }
    RecordWriter& point(QPoint point) { return i32(point.x()).i32(point.y()); }
    RecordWriter& bytes(QByteArrayView bytes) {
        mBytes.append(bytes.data(), bytes.size());
        return *this;
    }
    // Zero bytes up to the next multiple of four, as records are aligned.
    RecordWriter& align() {
        while (mBytes.size() % 4 != 0) {
            mBytes.append('\0');
        }
        return *this;
    }
    // Bounds that the player does not use.
    RecordWriter& noBounds() { return i32(0).i32(0).i32(-1).i32(-1); }

    [[nodiscard]] qsizetype size() const { return mBytes.size(); }

    [[nodiscard]] QByteArray result() {
        align();
        const auto size = static_cast<std::uint32_t>(mBytes.size());
        for (int i = 0; i < 4; ++i) {
            mBytes[4 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        }
        return mBytes;
    }

private:
    QByteArray mBytes;
};

}  // namespace pictarium::emf
