#include "engine/bdp_format.h"

#include <gtest/gtest.h>

namespace pictarium {
namespace {

TEST(FlipBytes, MapsTheFourCornersAndUndoesItselfOnStoredBytes) {
    QByteArray bytes("\x00\x7F\x80\xFF", 4);
    FlipBytes(bytes);
    EXPECT_EQ(bytes, QByteArray("\x7F\xFE\x01\x80", 4));
    for (int value = 1; value <= 254; ++value) {
        QByteArray one(1, static_cast<char>(value));
        FlipBytes(one);
        FlipBytes(one);
        EXPECT_EQ(static_cast<unsigned char>(one[0]), value);
    }
}

TEST(DescriptionText, AbcIsStoredAsE0E1E2AndReadsBack) {
    QByteArray stored = TextToBytes(QStringLiteral("abc"));
    FlipBytes(stored);
    EXPECT_EQ(stored, QByteArray("\xE0\xE1\xE2"));
    FlipBytes(stored);
    EXPECT_EQ(BytesToText(stored), QStringLiteral("abc"));
}

TEST(DescriptionText, UsesWindows1252WithOneBytePerCharacter) {
    const QString text = QStringLiteral("é€œ—Ÿ\u4E2D😀");
    const QByteArray bytes = TextToBytes(text);
    ASSERT_EQ(bytes.size(), text.size());  // the emoji is two UTF-16 units, two bytes
    EXPECT_EQ(bytes.left(5), QByteArray("\xE9\x80\x9C\x97\x9F"));
    EXPECT_EQ(bytes.mid(5), QByteArray("???"));
    EXPECT_EQ(BytesToText(bytes.left(5)), text.left(5));
}

TEST(DescriptionText, ControlCharactersAndCode255VanishOnReading) {
    QByteArray stored = TextToBytes(QStringLiteral("a\tb\r\nc\u00FFd"));
    FlipBytes(stored);
    EXPECT_EQ(stored.mid(1, 1), QByteArray("\x88"));  // tab: 9 + 127 = 136
    EXPECT_EQ(static_cast<unsigned char>(stored[6]), 128);
    FlipBytes(stored);
    EXPECT_EQ(BytesToText(stored), QStringLiteral("abcd"));
}

TEST(IndexEntryBytes, AreFourLittleEndianFieldsInFileOrder) {
    const IndexEntry entry{11, 0x01020304, 8, -3};
    const EntryBytes bytes = encodeEntry(entry);
    EXPECT_EQ(QByteArray(bytes.data(), 16),
              QByteArray("\x0B\0\0\0\x04\x03\x02\x01\x08\0\0\0\xFD\xFF\xFF\xFF", 16));
    EXPECT_EQ(decodeEntry(bytes.data()), entry);
}

}  // namespace
}  // namespace pictarium
