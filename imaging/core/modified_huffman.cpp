#include "imaging/core/modified_huffman_p.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <span>

namespace pictarium {

namespace {

struct Code {
    const char* bits;
    int run;
};

// The terminating codes (runs of 0 to 63) and the make-up codes (multiples
// of 64, followed by a terminating code) of each colour.
constexpr Code WhiteCodes[] = {
    {"00110101", 0},     {"000111", 1},       {"0111", 2},         {"1000", 3},
    {"1011", 4},         {"1100", 5},         {"1110", 6},         {"1111", 7},
    {"10011", 8},        {"10100", 9},        {"00111", 10},       {"01000", 11},
    {"001000", 12},      {"000011", 13},      {"110100", 14},      {"110101", 15},
    {"101010", 16},      {"101011", 17},      {"0100111", 18},     {"0001100", 19},
    {"0001000", 20},     {"0010111", 21},     {"0000011", 22},     {"0000100", 23},
    {"0101000", 24},     {"0101011", 25},     {"0010011", 26},     {"0100100", 27},
    {"0011000", 28},     {"00000010", 29},    {"00000011", 30},    {"00011010", 31},
    {"00011011", 32},    {"00010010", 33},    {"00010011", 34},    {"00010100", 35},
    {"00010101", 36},    {"00010110", 37},    {"00010111", 38},    {"00101000", 39},
    {"00101001", 40},    {"00101010", 41},    {"00101011", 42},    {"00101100", 43},
    {"00101101", 44},    {"00000100", 45},    {"00000101", 46},    {"00001010", 47},
    {"00001011", 48},    {"01010010", 49},    {"01010011", 50},    {"01010100", 51},
    {"01010101", 52},    {"00100100", 53},    {"00100101", 54},    {"01011000", 55},
    {"01011001", 56},    {"01011010", 57},    {"01011011", 58},    {"01001010", 59},
    {"01001011", 60},    {"00110010", 61},    {"00110011", 62},    {"00110100", 63},
    {"11011", 64},       {"10010", 128},      {"010111", 192},     {"0110111", 256},
    {"00110110", 320},   {"00110111", 384},   {"01100100", 448},   {"01100101", 512},
    {"01101000", 576},   {"01100111", 640},   {"011001100", 704},  {"011001101", 768},
    {"011010010", 832},  {"011010011", 896},  {"011010100", 960},  {"011010101", 1024},
    {"011010110", 1088}, {"011010111", 1152}, {"011011000", 1216}, {"011011001", 1280},
    {"011011010", 1344}, {"011011011", 1408}, {"010011000", 1472}, {"010011001", 1536},
    {"010011010", 1600}, {"011000", 1664},    {"010011011", 1728},
};

constexpr Code BlackCodes[] = {
    {"0000110111", 0},
    {"010", 1},
    {"11", 2},
    {"10", 3},
    {"011", 4},
    {"0011", 5},
    {"0010", 6},
    {"00011", 7},
    {"000101", 8},
    {"000100", 9},
    {"0000100", 10},
    {"0000101", 11},
    {"0000111", 12},
    {"00000100", 13},
    {"00000111", 14},
    {"000011000", 15},
    {"0000010111", 16},
    {"0000011000", 17},
    {"0000001000", 18},
    {"00001100111", 19},
    {"00001101000", 20},
    {"00001101100", 21},
    {"00000110111", 22},
    {"00000101000", 23},
    {"00000010111", 24},
    {"00000011000", 25},
    {"000011001010", 26},
    {"000011001011", 27},
    {"000011001100", 28},
    {"000011001101", 29},
    {"000001101000", 30},
    {"000001101001", 31},
    {"000001101010", 32},
    {"000001101011", 33},
    {"000011010010", 34},
    {"000011010011", 35},
    {"000011010100", 36},
    {"000011010101", 37},
    {"000011010110", 38},
    {"000011010111", 39},
    {"000001101100", 40},
    {"000001101101", 41},
    {"000011011010", 42},
    {"000011011011", 43},
    {"000001010100", 44},
    {"000001010101", 45},
    {"000001010110", 46},
    {"000001010111", 47},
    {"000001100100", 48},
    {"000001100101", 49},
    {"000001010010", 50},
    {"000001010011", 51},
    {"000000100100", 52},
    {"000000110111", 53},
    {"000000111000", 54},
    {"000000100111", 55},
    {"000000101000", 56},
    {"000001011000", 57},
    {"000001011001", 58},
    {"000000101011", 59},
    {"000000101100", 60},
    {"000001011010", 61},
    {"000001100110", 62},
    {"000001100111", 63},
    {"0000001111", 64},
    {"000011001000", 128},
    {"000011001001", 192},
    {"000001011011", 256},
    {"000000110011", 320},
    {"000000110100", 384},
    {"000000110101", 448},
    {"0000001101100", 512},
    {"0000001101101", 576},
    {"0000001001010", 640},
    {"0000001001011", 704},
    {"0000001001100", 768},
    {"0000001001101", 832},
    {"0000001110010", 896},
    {"0000001110011", 960},
    {"0000001110100", 1024},
    {"0000001110101", 1088},
    {"0000001110110", 1152},
    {"0000001110111", 1216},
    {"0000001010010", 1280},
    {"0000001010011", 1344},
    {"0000001010100", 1408},
    {"0000001010101", 1472},
    {"0000001011010", 1536},
    {"0000001011011", 1600},
    {"0000001100100", 1664},
    {"0000001100101", 1728},
};

// The make-up codes of long runs, alike for both colours.
constexpr Code LongMakeUpCodes[] = {
    {"00000001000", 1792},  {"00000001100", 1856},  {"00000001101", 1920},  {"000000010010", 1984},
    {"000000010011", 2048}, {"000000010100", 2112}, {"000000010101", 2176}, {"000000010110", 2240},
    {"000000010111", 2304}, {"000000011100", 2368}, {"000000011101", 2432}, {"000000011110", 2496},
    {"000000011111", 2560},
};

constexpr int LongestCode = 13;
constexpr int ZerosOfEndOfLine = 11;  // then a one
constexpr int FirstMakeUpRun = 64;

struct Entry {
    std::uint16_t run = 0;
    std::uint8_t length = 0;  // 0: no code starts with these bits
};

// Every 13-bit value names the code it starts with.
using Table = std::array<Entry, std::size_t{1} << LongestCode>;

void addCodes(Table& table, std::span<const Code> codes) {
    for (const Code& code : codes) {
        std::uint32_t value = 0;
        int length = 0;
        for (const char* bit = code.bits; *bit != '\0'; ++bit, ++length) {
            value = (value << 1) | (*bit == '1' ? 1U : 0U);
        }
        const std::uint32_t first = value << (LongestCode - length);
        const std::uint32_t last = (value + 1) << (LongestCode - length);
        for (std::uint32_t i = first; i < last; ++i) {
            Q_ASSERT(table[i].length == 0);  // no code is the start of another
            table[i] = {static_cast<std::uint16_t>(code.run), static_cast<std::uint8_t>(length)};
        }
    }
}

Table tableOf(std::span<const Code> codes) {
    Table table{};
    addCodes(table, codes);
    addCodes(table, LongMakeUpCodes);
    return table;
}

const Table& whiteTable() {
    static const Table table = tableOf(WhiteCodes);
    return table;
}

const Table& blackTable() {
    static const Table table = tableOf(BlackCodes);
    return table;
}

// Reads bits from the most significant of each byte; past the end, zeros.
class BitReader {
public:
    explicit BitReader(QByteArrayView bytes)
        : mBytes(reinterpret_cast<const unsigned char*>(bytes.data())),
          mSize(static_cast<std::int64_t>(bytes.size()) * 8) {}

    // `count` of at most 17 bits.
    [[nodiscard]] std::uint32_t peek(int count) const {
        std::uint32_t window = 0;
        for (std::int64_t i = 0; i < 3; ++i) {
            const std::int64_t byte = mAt / 8 + i;
            window = (window << 8) | (byte * 8 < mSize ? mBytes[byte] : 0U);
        }
        const int shift = 24 - static_cast<int>(mAt % 8) - count;
        return (window >> shift) & ((1U << count) - 1);
    }
    [[nodiscard]] std::int64_t left() const { return mSize - mAt; }
    void skip(std::int64_t count) { mAt += count; }
    // Zero bits from here to the next one bit or the end.
    [[nodiscard]] std::int64_t zerosAhead() const {
        std::int64_t at = mAt;
        while (at < mSize && (mBytes[at / 8] & (0x80U >> (at % 8))) == 0) {
            ++at;
        }
        return at - mAt;
    }

private:
    const unsigned char* mBytes;
    std::int64_t mSize;
    std::int64_t mAt = 0;
};

// Steps over end-of-line codes and the fill bits before them; how many.
int skipEndsOfLine(BitReader& bits) {
    int count = 0;
    while (true) {
        const std::int64_t zeros = bits.zerosAhead();
        if (zeros < ZerosOfEndOfLine || zeros == bits.left()) {
            return count;
        }
        bits.skip(zeros + 1);
        ++count;
    }
}

// One run: make-up codes, then a terminating one; nothing past `limit`.
std::optional<int> readRun(BitReader& bits, const Table& table, int limit) {
    int run = 0;
    while (true) {
        const Entry entry = table[bits.peek(LongestCode)];
        if (entry.length == 0 || entry.length > bits.left()) {
            return std::nullopt;
        }
        bits.skip(entry.length);
        run += entry.run;
        if (run > limit) {
            return std::nullopt;
        }
        if (entry.run < FirstMakeUpRun) {
            return run;
        }
    }
}

void paintBlack(char* row, int from, int count) {
    for (int x = from; x < from + count; ++x) {
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
}

bool decodeRow(BitReader& bits, int width, char* row) {
    bool white = true;
    for (int x = 0; x < width; white = !white) {
        const std::optional<int> run =
            readRun(bits, white ? whiteTable() : blackTable(), width - x);
        if (!run) {
            return false;
        }
        if (!white) {
            paintBlack(row, x, *run);
        }
        x += *run;
    }
    return true;
}

}  // namespace

std::optional<QByteArray> decodeModifiedHuffman(QByteArrayView codes, int width, int height,
                                                qsizetype rowBytes) {
    QByteArray rows(rowBytes * height, '\0');
    BitReader bits(codes);
    for (int y = 0; y < height; ++y) {
        // The return-to-control of six end-of-line codes ends the page.
        if (skipEndsOfLine(bits) >= 2 && y > 0) {
            return rows;
        }
        if (bits.left() <= 0 || !decodeRow(bits, width, rows.data() + y * rowBytes)) {
            return std::nullopt;
        }
    }
    return rows;
}

}  // namespace pictarium
