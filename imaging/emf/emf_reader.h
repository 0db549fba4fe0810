#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Enhanced metafiles (EMF), rendered at the size of their frame at 96 dots
// per inch on white (smaller when that would pass 25 million pixels). A
// file drawn with EMF+ (GDI+) records alone is drawn by them; a dual file,
// which holds a whole plain copy too, by its plain records. A null
// picture when the bytes are not a complete metafile or a record lies
// about its size.
[[nodiscard]] QImage decodeEnhancedMetafile(QByteArrayView bytes);

}  // namespace pictarium
