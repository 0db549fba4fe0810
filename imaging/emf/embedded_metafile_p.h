#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium::emf {

// Metafiles that an EMF+ image object holds, drawn at their own size on a
// transparent picture so that what lies under them shows through. The
// metafile images inside them are not drawn: one level is what programs
// write, and it bounds the work a hostile file can ask for. A null picture
// when the bytes are not a whole metafile.
[[nodiscard]] QImage decodeEmbeddedEnhancedMetafile(QByteArrayView bytes);
[[nodiscard]] QImage decodeEmbeddedWindowsMetafile(QByteArrayView bytes);

}  // namespace pictarium::emf
