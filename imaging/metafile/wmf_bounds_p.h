#pragma once

#include <QByteArrayView>
#include <QRect>

#include <optional>

namespace pictarium::wmf {

// The logical area that a metafile's shapes and text cover, for files
// that set no window: points as they are, a text as wide as its
// characters at about half its font's height each. None when nothing is drawn.
[[nodiscard]] std::optional<QRect> drawingBounds(QByteArrayView records);

}  // namespace pictarium::wmf
