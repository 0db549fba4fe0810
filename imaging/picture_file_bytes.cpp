#include "imaging/picture_file_bytes_p.h"

#include "base/run_errors.h"

#include <QFileInfo>

namespace pictarium {

PictureFileBytes::PictureFileBytes(const QString& path) : mFile(path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        throw RunFailure(RunError::FileNotFound);
    }
    // Devices and pipes could feed a reader without end.
    if (!info.isFile() || !mFile.open(QIODevice::ReadOnly)) {
        throw RunFailure(RunError::PathFileAccessError);
    }
    if (mFile.size() == 0) {
        return;
    }
    const uchar* mapped = mFile.map(0, mFile.size());
    if (mapped == nullptr) {
        throw RunFailure(RunError::PathFileAccessError);
    }
    mBytes = QByteArrayView(mapped, mFile.size());
}

}  // namespace pictarium
