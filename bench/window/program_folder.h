#pragma once

#include "bench/scratch_folder.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <stdexcept>

namespace pictarium::bench {

// A program folder whose pointer file names `base`, so that the window
// opens it at start; none when `base` is empty.
inline QString programFolderFor(const ScratchFolder& scratch, const QString& name,
                                const QString& base) {
    const QString folder = scratch.filePath(name);
    QDir().mkpath(folder);
    if (!base.isEmpty()) {
        QFile pointer(folder + QStringLiteral("/default.tsi"));
        if (!pointer.open(QIODevice::WriteOnly) || pointer.write(QFile::encodeName(base)) <= 0) {
            throw std::runtime_error("cannot write a pointer file");
        }
    }
    return folder;
}

}  // namespace pictarium::bench
