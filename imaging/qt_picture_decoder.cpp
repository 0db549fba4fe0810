#include "imaging/qt_picture_decoder_p.h"

#include "imaging/core/bitmap_codec.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace pictarium {

namespace {

// 100 megapixels at 16 bits per channel, as 16-bit PNG and TIFF decode.
constexpr int AllocationLimitMegabytes = 1024;

void allowLargeDeepPictures() {
    allowLargePictures();
    if (QImageReader::allocationLimit() < AllocationLimitMegabytes) {
        QImageReader::setAllocationLimit(AllocationLimitMegabytes);
    }
}

}  // namespace

QImage decodeWithQt(QByteArrayView bytes, const QByteArray& qtFormat) {
    allowLargeDeepPictures();
    // The reader only reads, so the caller's bytes are wrapped, not copied.
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoTransform(true);
    if (reader.size().isValid()) {
        requireWithinPixelLimit(reader.size().width(), reader.size().height());
    }
    QImage picture;
    if (!reader.read(&picture)) {
        return {};
    }
    // A reader that could not tell the size beforehand.
    requireWithinPixelLimit(picture.width(), picture.height());
    return picture;
}

}  // namespace pictarium
