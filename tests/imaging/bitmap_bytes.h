#pragma once

#include <QByteArray>
#include <QRgb>

namespace pictarium::test {

// The little-endian 16-bit fields and blue-green-red pixels of the
// bitmap files the tests write byte by byte.
inline QByteArray le16(int value) {
    return QByteArray(1, static_cast<char>(value & 0xFF)) +
           QByteArray(1, static_cast<char>((value >> 8) & 0xFF));
}

inline QByteArray bgr(QRgb colour) {
    return QByteArray(1, static_cast<char>(qBlue(colour))) +
           QByteArray(1, static_cast<char>(qGreen(colour))) +
           QByteArray(1, static_cast<char>(qRed(colour)));
}

}  // namespace pictarium::test
