// Feeds arbitrary bytes to the enhanced metafile reader.

#include "fuzz/imaging/decoded_picture_check.h"
#include "fuzz/metafile/gui_application.h"
#include "imaging/core/byte_reader.h"
#include "imaging/metafile/emf_header_p.h"
#include "imaging/metafile/emf_reader.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace {

// Pictures up to the pixel limit are allowed, but clearing hundreds of
// megabytes per input would leave little time for the records.
bool hasSmallFrame(QByteArrayView bytes) {
    constexpr std::int64_t MaxFuzzedPixels = 1 << 20;
    try {
        const QSize size = pictarium::emf::pictureSize(pictarium::emf::readHeader(bytes));
        return std::int64_t{size.width()} * size.height() <= MaxFuzzedPixels;
    } catch (const pictarium::MalformedPicture&) {
        return true;
    }
}

}  // namespace

// Fontconfig drops some of what it allocates while Qt matches a font;
// that is neither ours nor Qt's to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pictarium::fuzz::ensureGuiApplication("emf_fuzz");
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    if (!hasSmallFrame(bytes)) {
        return 0;
    }
    pictarium::fuzz::checkDecoding([&] { return pictarium::decodeEnhancedMetafile(bytes); });
    return 0;
}
