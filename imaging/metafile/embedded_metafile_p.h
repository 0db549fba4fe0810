#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QSize>

namespace pictarium::emf {

// A metafile drawn on a page of `page` colour, its frame filling `size`
// or, when that is empty, at its own size: the readers of files draw on
// white. Without `drawsMetafileImages`, the metafiles that its EMF+ images
// hold are left out. A null picture when the bytes are not a whole
// metafile.
[[nodiscard]] QImage drawEnhancedMetafile(QByteArrayView bytes, const QColor& page,
                                          bool drawsMetafileImages, QSize size = {});
[[nodiscard]] QImage drawWindowsMetafile(QByteArrayView bytes, const QColor& page, QSize size = {});

// A metafile that an EMF+ image object holds, with what it leaves of the
// page under it as transparency: drawn on white and on black, a pixel's
// difference between the two tells how much of the page shows through.
// This keeps raster operations right (one that ands a bitmap with the page
// darkens what lies under it) where drawing on transparency would not. The
// metafile images inside it are not drawn: one level is what programs
// write, and it bounds the work a hostile file can ask for. Drawn at the
// size it takes on the page, so that it is as sharp as the page's own
// drawing.
[[nodiscard]] QImage decodeEmbeddedMetafile(QByteArrayView bytes, bool enhanced, QSize size);

}  // namespace pictarium::emf
