#pragma once

#include "base/binary_file.h"
#include "base/file_lock.h"

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace pictarium {

// Why a rewrite did not start, besides a run-time failure.
struct BaseBusy {};          // another program kept the base or the folder too long
struct RewriteCancelled {};  // the owner asked to stop

// Writes the new version of a base into the temporary file.
struct VersionWriter {
    std::function<void(BinaryFile& target)> write;
};

// The files of one rewrite, in the program's folder but for the base.
struct RewritePaths {
    QString base;
    QString temporary;  // "bdptmp1.tmp", the new version
    QString backup;     // "bdpsave.tmp", only for a base overwritten in place
    QString bitmap;     // "bdptmp1.bmp", never written here, removed when left over
    QString lockFile;   // taken for the whole rewrite, and its journal
};

// One rewrite of a base: the locks it holds from start to end, the new
// version it writes into the temporary file, and the swap that puts it in
// place of the base.
//
// The base is locked first, then the program folder, always in that order,
// so that two rewrites never wait for each other. Under the folder's lock,
// whatever an earlier program left there (a crash) is cleared first, and a
// base that was being overwritten in place is put back from its backup.
//
// The new version replaces the base by rename, so that readers see the old
// base or the new one, whole. Where a rename would change what the base is
// (its owner, its other names) or cannot be done (a folder this program may
// not write), the base is overwritten in place instead, with its backup
// taken first and its name written in the lock file until the overwrite is
// complete, so that a crash halfway is repaired by the next rewrite.
class BaseRewrite {
public:
    // Takes the locks; throws BaseBusy when another program keeps one
    // longer than `patience`, and whatever `whileWaiting` throws.
    // `heldLock`, when not null, is a lock of the base already held.
    BaseRewrite(RewritePaths paths, const FileLock* heldLock, std::chrono::milliseconds patience,
                const FileLock::WhileWaiting& whileWaiting);
    ~BaseRewrite();
    BaseRewrite(const BaseRewrite&) = delete;
    BaseRewrite& operator=(const BaseRewrite&) = delete;

    // The temporary file, created as private as the base, to write the new
    // version into. Throws RunFailure 70 naming the base when this program
    // may not write the base.
    [[nodiscard]] BinaryFile& createTarget();

    // Flushes the new version and puts it in place of the base. Once this
    // returns, the base is the new version.
    void replaceBase();

    // The lock of the new version when it replaced the base by rename, for
    // a front end that keeps the base locked between its steps.
    [[nodiscard]] std::optional<FileLock> takeNewBaseLock() { return std::move(mNewBaseLock); }

private:
    void repairInterruptedOverwrite();
    [[nodiscard]] bool repairPending() const;
    void removeLeftovers();
    [[nodiscard]] bool canReplaceByRename() const;
    void overwriteInPlace();

    RewritePaths mPaths;
    std::optional<FileLock> mBaseLock;
    std::optional<FileLock> mFolderLock;
    std::optional<FileLock> mNewBaseLock;
    std::optional<FileStatus> mBaseStatus;
    BinaryFile mTarget;
    bool mReplaced = false;
};

}  // namespace pictarium
