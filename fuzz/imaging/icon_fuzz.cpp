// Feeds arbitrary bytes to the icon decoder.

#include "fuzz/imaging/decoded_picture_check.h"
#include "imaging/decoders/icon_decoder.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    pictarium::fuzz::checkDecoding([&] { return pictarium::decodeIcon(bytes); });
    return 0;
}
