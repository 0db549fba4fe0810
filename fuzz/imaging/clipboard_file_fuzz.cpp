// Feeds arbitrary bytes to the Windows clipboard decoder.

#include "fuzz/imaging/decoded_picture_check.h"
#include "imaging/decoders/clipboard_file_decoder.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    pictarium::fuzz::checkDecoding([&] { return pictarium::decodeClipboardFile(bytes); });
    return 0;
}
