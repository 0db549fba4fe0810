#include "bench/scratch_folder.h"

#include <QDir>
#include <QStorageInfo>

#include <stdexcept>

namespace pictarium::bench {

namespace {

QString scratchTemplate() {
    const QString root = qEnvironmentVariable("PICTARIUM_BENCH_DIR", QDir::tempPath());
    return QDir(root).filePath(QStringLiteral("pictarium-bench-XXXXXX"));
}

}  // namespace

ScratchFolder::ScratchFolder() : mFolder(scratchTemplate()) {
    if (!mFolder.isValid()) {
        throw std::runtime_error("cannot make a scratch folder: " +
                                 mFolder.errorString().toStdString());
    }
}

std::int64_t ScratchFolder::freeBytes() const {
    return QStorageInfo(mFolder.path()).bytesAvailable();
}

}  // namespace pictarium::bench
