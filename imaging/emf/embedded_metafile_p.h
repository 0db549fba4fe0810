#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>

namespace pictarium::emf {

// A metafile drawn on a page of `page` colour at its own size: the readers
// of files draw on white. Without `drawsMetafileImages`, the metafiles that
// its EMF+ images hold are left out. A null picture when the bytes are not
// a whole metafile.
[[nodiscard]] QImage drawEnhancedMetafile(QByteArrayView bytes, const QColor& page,
                                          bool drawsMetafileImages);
[[nodiscard]] QImage drawWindowsMetafile(QByteArrayView bytes, const QColor& page);

// A metafile that an EMF+ image object holds, with what it leaves of the
// page under it as transparency: drawn on white and on black, a pixel's
// difference between the two tells how much of the page shows through.
// This keeps raster operations right (one that ands a bitmap with the page
// darkens what lies under it) where drawing on transparency would not. The
// metafile images inside it are not drawn: one level is what programs
// write, and it bounds the work a hostile file can ask for.
[[nodiscard]] QImage decodeEmbeddedMetafile(QByteArrayView bytes, bool enhanced);

}  // namespace pictarium::emf
