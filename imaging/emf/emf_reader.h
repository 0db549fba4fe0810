#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Enhanced metafiles (EMF), rendered at the size of their frame at 96 dots
// per inch on white (smaller when that would pass 25 million pixels).
// Embedded EMF+ drawing is skipped for the plain EMF drawing that follows
// it. A null picture when the bytes are not a
// complete metafile or a record lies about its size.
[[nodiscard]] QImage decodeEnhancedMetafile(QByteArrayView bytes);

}  // namespace pictarium
