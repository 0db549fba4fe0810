#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// Windows metafiles (WMF), played through the enhanced-metafile player on
// white. A placeable file is drawn at the size its header gives, at 96 dots
// per inch (fitted within 25 million pixels as enhanced metafiles are); another takes its window's
// logical units as pixels, fitted within 1024 pixels when larger. A null picture when the bytes are
// not a complete metafile or a record lies about its size.
[[nodiscard]] QImage decodeWindowsMetafile(QByteArrayView bytes);

}  // namespace pictarium
