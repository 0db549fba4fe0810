#include "engine/base_rewrite_p.h"

#include "base/file_operations.h"
#include "base/run_errors.h"

#include <QFile>
#include <QFileInfo>

namespace pictarium {

namespace {

// What the lock file says while a base is being overwritten in place.
const QByteArray OverwriteNote = QByteArrayLiteral("overwriting ");

// Copies all of `from` over the bytes of the existing file `to`, cut to
// length and flushed.
void copyOver(const QString& from, const QString& to) {
    const BinaryFile source = BinaryFile::openForReading(from);
    BinaryFile target = BinaryFile::openForOverwriting(to);
    target.appendFrom(source, 0, source.size());
    target.truncateToWritten();
    target.sync();
}

}  // namespace

BaseRewrite::BaseRewrite(RewritePaths paths, const FileLock* heldLock,
                         std::chrono::milliseconds patience,
                         const FileLock::WhileWaiting& whileWaiting)
    : mPaths(std::move(paths)) {
    if (heldLock == nullptr || !heldLock->holdsFileAt(mPaths.base)) {
        mBaseLock = FileLock::lockFileAt(mPaths.base, patience, whileWaiting);
        if (!mBaseLock) {
            throw BaseBusy{};
        }
    }
    mFolderLock = FileLock::lockFile(mPaths.lockFile, patience, whileWaiting);
    if (!mFolderLock) {
        throw BaseBusy{};
    }
    repairInterruptedOverwrite();
    removeLeftovers();
}

BaseRewrite::~BaseRewrite() {
    mTarget.close();
    if (!mReplaced) {
        removeFileQuietly(mPaths.temporary);
    }
    // The locks go last, in the order opposite to their taking.
    mFolderLock.reset();
    mBaseLock.reset();
    mNewBaseLock.reset();
}

// A program that died while overwriting a base in place left that base's
// name in the lock file and its backup beside it: the backup goes back.
void BaseRewrite::repairInterruptedOverwrite() {
    const QByteArray note = mFolderLock->contents();
    if (!note.startsWith(OverwriteNote)) {
        return;
    }
    const QString damaged = QFile::decodeName(note.mid(OverwriteNote.size()));
    if (QFileInfo::exists(mPaths.backup) && QFileInfo::exists(damaged)) {
        // Someone else may be repairing it from another program folder.
        const std::optional<FileLock> lock = FileLock::lockFileAt(
            damaged, std::chrono::milliseconds::zero(), FileLock::WhileWaiting());
        if (!lock) {
            return;
        }
        try {
            copyOver(mPaths.backup, damaged);
        } catch (...) {
            return;  // kept for the next rewrite to try again
        }
    }
    mFolderLock->replaceContents({});
}

bool BaseRewrite::repairPending() const {
    return mFolderLock->contents().startsWith(OverwriteNote);
}

void BaseRewrite::removeLeftovers() {
    for (const QString& path : {mPaths.temporary, mPaths.bitmap}) {
        removeFileQuietly(path);
    }
    if (!repairPending()) {
        removeFileQuietly(mPaths.backup);
    }
    removeFileQuietly(swapStagingPath(mPaths.base));
}

BinaryFile& BaseRewrite::createTarget() {
    if (!mayWriteFile(mPaths.base)) {
        throw RunFailure(RunError::PermissionDenied, mPaths.base);
    }
    mBaseStatus = statusOf(mPaths.base);
    if (!mBaseStatus) {
        throw RunFailure(RunError::FileNotFound, mPaths.base);
    }
    mTarget = BinaryFile::createLike(mPaths.temporary, *mBaseStatus);
    return mTarget;
}

// A rename gives the base a new inode: it must be ours to give, in a folder
// we may change, and the base must have no other name that would keep the
// old version.
bool BaseRewrite::canReplaceByRename() const {
    return mayReplaceByRename(mPaths.base, mBaseStatus->owner) && mBaseStatus->links <= 1;
}

void BaseRewrite::replaceBase() {
    mTarget.sync();
    mTarget.close();
    if (canReplaceByRename()) {
        // Locked before it becomes the base, so that no other program takes
        // the base between the rename and the end of this rewrite.
        mNewBaseLock = FileLock::lockFileAt(mPaths.temporary, std::chrono::milliseconds::zero(),
                                            FileLock::WhileWaiting());
        replaceFile(mPaths.temporary, mPaths.base);
        if (mNewBaseLock && !mNewBaseLock->holdsFileAt(mPaths.base)) {
            // Staged across file systems: the base is a copy of the new version.
            mNewBaseLock = FileLock::lockFileAt(mPaths.base, std::chrono::milliseconds::zero(),
                                                FileLock::WhileWaiting());
        }
    } else {
        overwriteInPlace();
    }
    mReplaced = true;
}

void BaseRewrite::overwriteInPlace() {
    // The backup still waits to repair another base.
    if (repairPending()) {
        throw RunFailure(RunError::FileAlreadyExists, mPaths.backup);
    }
    {
        const BinaryFile base = BinaryFile::openForReading(mPaths.base);
        BinaryFile backup = BinaryFile::createLike(mPaths.backup, *mBaseStatus);
        backup.appendFrom(base, 0, base.size());
        backup.sync();
    }
    mFolderLock->replaceContents(OverwriteNote + QFile::encodeName(mPaths.base));
    try {
        copyOver(mPaths.temporary, mPaths.base);
    } catch (...) {
        // Should putting the backup back fail too, the lock file still
        // names the base, and the next rewrite tries again.
        copyOver(mPaths.backup, mPaths.base);
        mFolderLock->replaceContents({});
        removeFileQuietly(mPaths.backup);
        throw;
    }
    mFolderLock->replaceContents({});
    removeFileQuietly(mPaths.backup);
    removeFileQuietly(mPaths.temporary);
}

}  // namespace pictarium
