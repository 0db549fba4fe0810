#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace pictarium {

// Encapsulated PostScript (plain, or DOS binary with previews), rendered
// by Ghostscript in its safe mode at screen resolution. When Ghostscript
// is missing or fails, the TIFF or WMF preview of a DOS binary file stands
// in. A null picture when neither gives a picture.
[[nodiscard]] QImage decodeEncapsulatedPostScript(const QString& path, QByteArrayView bytes);

}  // namespace pictarium
