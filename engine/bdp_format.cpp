#include "engine/bdp_format.h"

#include "base/checked_int32.h"
#include "base/run_errors.h"
#include "base/windows_1252.h"

#include <algorithm>

namespace pictarium {

void requireStoredLengths(const IndexEntry& entry) {
    if (entry.TextLength < 1 || entry.PicLength < 1) {
        throw RunFailure(RunError::SubscriptOutOfRange);
    }
}

std::int32_t fileOffsetOf(std::int32_t count, std::int32_t storedOffset) {
    return checkedAdd(checkedMul(IndexEntrySize, count), storedOffset);
}

bool liesInFile(std::int64_t offset, std::int64_t length, std::int64_t fileSize) {
    return offset >= 0 && length >= 0 && offset <= fileSize && length <= fileSize - offset;
}

EntryBytes encodeEntry(const IndexEntry& entry) {
    EntryBytes bytes{};
    putInt32(bytes.data(), entry.PicOffset);
    putInt32(bytes.data() + 4, entry.PicLength);
    putInt32(bytes.data() + 8, entry.TextOffset);
    putInt32(bytes.data() + 12, entry.TextLength);
    return bytes;
}

IndexEntry decodeEntry(const char* bytes) {
    return IndexEntry{getInt32(bytes), getInt32(bytes + 4), getInt32(bytes + 8),
                      getInt32(bytes + 12)};
}

std::array<char, HeaderSize> encodeHeader(std::int32_t recordCount) {
    std::array<char, HeaderSize> header{};
    putInt32(header.data(), BdpSignature);
    putInt32(header.data() + 4, recordCount);
    return header;
}

void FlipBytes(QByteArray& bytes) {
    for (char& byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        byte = static_cast<char>(value < 128 ? value + 127 : value - 127);
    }
}

QByteArray TextToBytes(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        bytes[i] = static_cast<char>(toWindows1252(text[i]));
    }
    return bytes;
}

QString BytesToText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 32) {
            text.append(fromWindows1252(value));
        }
    }
    return text;
}

bool hasOnlySpaces(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

bool hasBdpName(const QString& fileName) {
    return fileName.size() > 4 && fileName.right(4).toUpper() == QStringLiteral(".BDP");
}

}  // namespace pictarium
