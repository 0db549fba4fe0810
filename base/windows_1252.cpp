#include "base/windows_1252.h"

#include <array>

namespace pictarium {

namespace {

// Characters of the bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined map to the C1 control of the same value, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr unsigned char kUnknown = '?';

std::array<unsigned char, 256> buildUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        const auto original = static_cast<unsigned char>(byte);
        const QChar upper = fromWindows1252(original).toUpper();
        const unsigned char mapped = toWindows1252(upper);
        // A capital outside the code page would come back as '?': keep the
        // character itself instead.
        const bool representable = fromWindows1252(mapped) == upper;
        table[original] = representable ? mapped : original;
    }
    return table;
}

}  // namespace

QChar fromWindows1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return QChar(kHighControls[byte - 0x80]);
    }
    return QChar(static_cast<char16_t>(byte));
}

unsigned char toWindows1252(QChar character) {
    const char16_t code = character.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<unsigned char>(code);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == code) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return kUnknown;
}

const std::array<unsigned char, 256>& windows1252UpperTable() {
    static const std::array<unsigned char, 256> table = buildUpperTable();
    return table;
}

unsigned char upperWindows1252(unsigned char byte) {
    return windows1252UpperTable()[byte];
}

}  // namespace pictarium
