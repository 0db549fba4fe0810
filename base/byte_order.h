#pragma once

#include <cstdint>

namespace pictarium {

// Integers as file formats lay them out, from raw bytes that need no
// alignment: least significant byte first (the .bdp format, bitmaps and
// most PC formats), or most significant first (Atari and Mac formats).

[[nodiscard]] inline std::uint16_t getUint16(const char* source) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

[[nodiscard]] inline std::uint32_t getUint32(const char* source) {
    return getUint16(source) | (std::uint32_t{getUint16(source + 2)} << 16);
}

[[nodiscard]] inline std::int32_t getInt32(const char* source) {
    return static_cast<std::int32_t>(getUint32(source));
}

[[nodiscard]] inline std::uint16_t getUint16Be(const char* source) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(source);
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

[[nodiscard]] inline std::uint32_t getUint32Be(const char* source) {
    return (std::uint32_t{getUint16Be(source)} << 16) | getUint16Be(source + 2);
}

inline void putInt32(char* destination, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        destination[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

}  // namespace pictarium
