#pragma once

#include <QByteArrayView>
#include <QImage>

namespace pictarium {

// A saved Windows clipboard (.clp, from Windows 3.x or NT): the picture of
// its DIB entry, else of its device-dependent bitmap entry with the saved
// palette. A null picture when it holds neither or is damaged.
[[nodiscard]] QImage decodeClipboardFile(QByteArrayView bytes);

// A packed DIB (an info header, its colour table and the pixels) as the
// platform's bitmap reader decodes it.
[[nodiscard]] QImage decodePackedDib(QByteArrayView dib);

}  // namespace pictarium
