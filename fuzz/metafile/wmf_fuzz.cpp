// Feeds arbitrary bytes to the Windows metafile reader.

#include "fuzz/imaging/decoded_picture_check.h"
#include "fuzz/metafile/gui_application.h"
#include "imaging/metafile/wmf_reader.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Pictures up to the pixel limit are allowed, but clearing hundreds of
// megabytes per input would leave little time for the records. Only a
// placeable header can ask for a large picture; others fit in 1024 pixels.
bool hasSmallBox(QByteArrayView bytes) {
    constexpr std::int64_t MaxFuzzedPixels = 1 << 20;
    if (bytes.size() < 22 || !bytes.startsWith("\xD7\xCD\xC6\x9A")) {
        return true;
    }
    const auto word = [&bytes](int at) {
        return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                         (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
    };
    const std::int64_t width = std::abs(std::int64_t{word(10)} - word(6));
    const std::int64_t height = std::abs(std::int64_t{word(12)} - word(8));
    const std::int64_t unitsPerInch = static_cast<std::uint16_t>(word(14));
    const std::int64_t inch = unitsPerInch > 0 ? unitsPerInch : 1440;
    return (width * 96 / inch + 1) * (height * 96 / inch + 1) <= MaxFuzzedPixels;
}

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pictarium::fuzz::ensureGuiApplication("wmf_fuzz");
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    if (!hasSmallBox(bytes)) {
        return 0;
    }
    pictarium::fuzz::checkDecoding([&] { return pictarium::decodeWindowsMetafile(bytes); });
    return 0;
}
