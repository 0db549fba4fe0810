#include "engine/base_backup_p.h"

#include "base/file_operations.h"

#include <utility>

namespace pictarium {

BaseBackup::BaseBackup(QString base, QString backupPath)
    : mBase(std::move(base)), mBackupPath(std::move(backupPath)) {
    try {
        copyFile(mBase, mBackupPath, false);
    } catch (...) {
        removeFileQuietly(mBackupPath);  // a partial copy
        throw;
    }
    mExists = true;
    mRestore = true;
}

BaseBackup::~BaseBackup() {
    if (mRestore) {
        try {
            replaceFile(mBackupPath, mBase);
        } catch (...) {
            // The base itself was only ever replaced whole: it is still
            // the old one.
        }
    }
    if (mExists) {
        removeFileQuietly(mBackupPath);
    }
}

void BaseBackup::remove() {
    mRestore = false;
    mExists = false;
    removeFile(mBackupPath);
}

}  // namespace pictarium
