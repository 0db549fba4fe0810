#include "imaging/picture_fit.h"

namespace pictarium {

QImage shrunkToFit(const QImage& picture, QSize box) {
    if (picture.isNull() || box.isEmpty() ||
        (picture.width() <= box.width() && picture.height() <= box.height())) {
        return picture;
    }
    // A thin strip keeps at least one row or column.
    const QSize size = picture.size().scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace pictarium
