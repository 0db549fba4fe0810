// Feeds arbitrary bytes to the bitmap decoder, which reads both the bitmap
// files added and every stored picture read back.

#include "fuzz/imaging/decoded_picture_check.h"
#include "imaging/core/bmp_decoder.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    pictarium::fuzz::checkDecoding([&] { return pictarium::decodeBitmapFile(bytes); });
    return 0;
}
