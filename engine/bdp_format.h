#pragma once

#include "base/byte_order.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace pictarium {

// Layout of a .bdp file: an 8-byte header, one 16-byte index entry per
// record, then each record's text bytes followed by its picture bytes.
// Integers are signed 32-bit little-endian. Stored offsets leave out the
// index table: absolute offset = stored offset + 16 * RecordCount.
inline constexpr std::int32_t BdpSignature = 0x06711424;
inline constexpr std::int32_t HeaderSize = 8;
inline constexpr std::int32_t IndexEntrySize = 16;
inline constexpr std::int32_t MaxTextLength = 255;
inline constexpr std::int32_t FirstTextOffset = HeaderSize;

// A stored picture is a bitmap file without its first three bytes; these
// three rebuild a file that any bitmap reader loads.
inline constexpr std::array<char, 3> RebuiltBitmapPrefix = {'\x42', '\x4D', '\x2E'};

struct IndexEntry {
    std::int32_t PicOffset = 0;
    std::int32_t PicLength = 0;
    std::int32_t TextOffset = 0;
    std::int32_t TextLength = 0;

    friend bool operator==(const IndexEntry&, const IndexEntry&) = default;
};

// A record's text and picture each hold at least one byte; an entry that
// says otherwise is the subscript failure.
void requireStoredLengths(const IndexEntry& entry);

// Where the bytes a stored offset names lie in a base of `count` records:
// offsets count from the start of the index, as if it took no room.
[[nodiscard]] std::int32_t fileOffsetOf(std::int32_t count, std::int32_t storedOffset);

// Whether `length` bytes at `offset` lie inside a file of `fileSize` bytes.
[[nodiscard]] bool liesInFile(std::int64_t offset, std::int64_t length, std::int64_t fileSize);

using EntryBytes = std::array<char, IndexEntrySize>;

[[nodiscard]] EntryBytes encodeEntry(const IndexEntry& entry);
[[nodiscard]] IndexEntry decodeEntry(const char* bytes);

[[nodiscard]] std::array<char, HeaderSize> encodeHeader(std::int32_t recordCount);

// The reversible byte transformation of stored description text:
// b < 128 becomes b + 127, anything else b - 127.
void FlipBytes(QByteArray& bytes);
// One Windows-1252 byte per UTF-16 unit of the text; never more bytes
// than characters.
[[nodiscard]] QByteArray TextToBytes(const QString& text);
// One character per byte; bytes below 32 are dropped.
[[nodiscard]] QString BytesToText(const QByteArray& bytes);

// True when the text is empty once its leading and trailing spaces are
// removed. Only the space character counts, as in the classic Trim.
[[nodiscard]] bool hasOnlySpaces(const QString& text);

// True when the name is longer than 4 characters and ends in ".bdp",
// whatever the case.
[[nodiscard]] bool hasBdpName(const QString& fileName);

}  // namespace pictarium
