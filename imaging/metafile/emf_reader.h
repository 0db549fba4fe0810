#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Enhanced metafiles (EMF), rendered at the size of their frame at 96 dots
// per inch on white (smaller when that would pass 25 million pixels). A
// file that holds EMF+ (GDI+) records is drawn by them, as GDI+ does; a
// dual file, which holds a whole plain copy too, by that copy only when
// its EMF+ records are not all drawn here. A null
// picture when the bytes are not a complete metafile or a record lies
// about its size.
[[nodiscard]] QImage decodeEnhancedMetafile(QByteArrayView bytes);

}  // namespace pictarium
