#include "base/byte_order.h"
#include "base/checked_int32.h"
#include "base/windows_1252.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace pictarium::test {
namespace {

TEST(TextAndNumbersTest, descriptionsRoundTripThroughTheCodePage) {
    struct Case {
        char16_t character;
        unsigned char byte;
        unsigned char upper;
    };
    // The euro and the letters of 0x80 to 0x9F differ from Latin-1; the
    // sharp s has no capital of one character, and the micro sign's (a
    // Greek capital) is not in the code page: both stay as they are.
    const Case cases[] = {
        {u'a', 'a', 'A'},   {u'é', 0xE9, 0xC9}, {u'€', 0x80, 0x80}, {u'œ', 0x9C, 0x8C},
        {u'š', 0x9A, 0x8A}, {u'ß', 0xDF, 0xDF}, {u'ÿ', 0xFF, 0x9F}, {u'÷', 0xF7, 0xF7},
        {u'1', '1', '1'},   {u'Ž', 0x8E, 0x8E}, {u'µ', 0xB5, 0xB5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(toWindows1252(QChar(c.character)), c.byte);
        EXPECT_EQ(fromWindows1252(c.byte), QChar(c.character));
        EXPECT_EQ(upperWindows1252(c.byte), c.upper);
        EXPECT_EQ(windows1252UpperTable()[c.byte], c.upper);
    }
    EXPECT_EQ(toWindows1252(QChar(u'ł')), '?');
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(toWindows1252(fromWindows1252(static_cast<unsigned char>(byte))), byte);
    }
}

TEST(TextAndNumbersTest, offsetsOutsideSigned32BitsAreTheOverflowFailure) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(checkedAdd(max - 1, 1), max);
    EXPECT_EQ(checkedSub(-max, 1), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(checkedMul(65535, 32768), 2147450880);
    for (const auto& overflowing :
         {+[] { (void)checkedAdd(max, 1); },
          +[] { (void)checkedSub(std::numeric_limits<std::int32_t>::min(), 1); },
          +[] { (void)checkedMul(65536, 32768); }, +[] { (void)toInt32(std::int64_t{max} + 1); }}) {
        try {
            overflowing();
            ADD_FAILURE() << "no overflow";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.number(), RunError::Overflow);
        }
    }
}

TEST(TextAndNumbersTest, integersAreLaidOutAsTheFormatsSay) {
    char bytes[4];
    putInt32(bytes, -2);
    EXPECT_EQ(QByteArray(bytes, 4), QByteArray("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(getInt32(bytes), -2);
    const char sample[] = "\x12\x34\x56\x78";
    EXPECT_EQ(getUint32(sample), 0x78563412u);
    EXPECT_EQ(getUint32Be(sample), 0x12345678u);
    EXPECT_EQ(getUint16(sample), 0x3412);
    EXPECT_EQ(getUint16Be(sample), 0x1234);
}

}  // namespace
}  // namespace pictarium::test
