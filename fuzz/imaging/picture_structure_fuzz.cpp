// Feeds arbitrary bytes to the format recognition and to the structural
// checks that stand in front of lenient readers.

#include "imaging/picture_completeness_p.h"
#include "imaging/picture_format_p.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    volatile int verdicts = static_cast<int>(pictarium::sniffPictureFormat(bytes));
    verdicts = verdicts + pictarium::isCompleteBitmap(bytes) + pictarium::isCompleteGif(bytes) +
               pictarium::isCompleteJpeg(bytes) + pictarium::isCompleteMacPaint(bytes) +
               pictarium::isCompleteWordPerfect(bytes);
    return 0;
}
