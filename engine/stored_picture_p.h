#pragma once

#include <QByteArray>

#include <cstdint>

namespace pictarium {

class BinaryFile;

// The stored picture of `length` bytes at the absolute `offset` of a base,
// as a rebuilt bitmap file: "BM." then the stored bytes. When its first
// bytes already show that it cannot decode (too many pixels, or more pixel
// data promised than it holds), only those are read, so that a huge or
// lying record costs no memory. Throws a RunFailure when the file does not
// hold the bytes.
[[nodiscard]] QByteArray readStoredPicture(const BinaryFile& file, std::int64_t offset,
                                           std::int32_t length);

}  // namespace pictarium
