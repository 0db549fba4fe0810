#include "imaging/metafile/wmf_charsets_p.h"

#include "base/windows_1252.h"

namespace pictarium::wmf {

namespace {

constexpr std::uint8_t GreekCharset = 161;
constexpr std::uint8_t HebrewCharset = 177;
constexpr std::uint8_t CyrillicCharset = 204;

// The letters of a code page that form one run of Unicode, and where.
struct LetterRun {
    unsigned char first;
    unsigned char last;
    char16_t firstCharacter;
};

LetterRun lettersOf(std::uint8_t charset) {
    switch (charset) {
        case CyrillicCharset:
            return {0xC0, 0xFF, 0x0410};  // А to я
        case GreekCharset:
            return {0xC1, 0xFE, 0x0391};  // Α to ώ
        case HebrewCharset:
            return {0xE0, 0xFA, 0x05D0};  // א to ת
        default:
            return {1, 0, 0};  // none
    }
}

}  // namespace

QString charsetText(QByteArrayView bytes, std::uint8_t charset) {
    const LetterRun letters = lettersOf(charset);
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= letters.first && code <= letters.last) {
            text.append(
                QChar(static_cast<char16_t>(letters.firstCharacter + (code - letters.first))));
        } else {
            text.append(fromWindows1252(code));
        }
    }
    return text;
}

QString faceName(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\0');
    return charsetText(end < 0 ? bytes : bytes.first(end), 0);
}

}  // namespace pictarium::wmf
