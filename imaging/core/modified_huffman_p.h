#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace pictarium {

// Rows of one bit a pixel coded as group 3 fax machines code them in one
// dimension (modified Huffman): each row alternates runs of white and
// black, white first, and may be led by an end-of-line code. The rows
// come back `rowBytes` apart, eight pixels a byte from the most
// significant bit, 0 for white and 1 for black. Two end-of-line codes in
// a row end the picture early, leaving the rows after them white; a code
// that is no code, a row longer than `width` or codes that stop before the
// last row give nothing.
[[nodiscard]] std::optional<QByteArray> decodeModifiedHuffman(QByteArrayView codes, int width,
                                                              int height, qsizetype rowBytes);

}  // namespace pictarium
