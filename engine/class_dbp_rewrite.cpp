// What adding and deleting share: the rewrite of the base under its locks,
// and the checks that the base is still the one the engine opened, whole.

#include "engine/class_dbp.h"

#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/base_verifier.h"
#include "engine/engine_texts.h"

#include <QScopeGuard>

namespace pictarium {

namespace {

const QString LockFileName = QStringLiteral(".pictarium.lock");
const QString BitmapFileName = QStringLiteral("bdptmp1.bmp");

// The base on disk is not the one the engine read.
struct BaseChanged {};
// Its header and index do not fit the file.
struct BaseInconsistent {};

}  // namespace

bool ClassDBP::isBaseUnchanged() const {
    const std::optional<FileStatus> now = statusOf(mState->FileName);
    if (!now || !now->isUnchanged(mState->Opened)) {
        return false;
    }
    // Read as OpenBDP reads it: a file shorter than the header reads as
    // zeros, so such a file is unchanged as long as its status is.
    std::array<char, HeaderSize> header{};
    try {
        (void)mState->FileNumber.readAt(0, header.data(), header.size());
    } catch (const RunFailure&) {
        return false;
    }
    return getInt32(header.data()) == mState->Signature &&
           getInt32(header.data() + 4) == mState->RecordCount;
}

void ClassDBP::reopenChangedBase() {
    informationBox(EngineText::BaseChanged, EngineText::Title);
    mState->FileNumber.close();
    // Reopening reads the first record, which checks the base again: a base
    // that another program keeps changing is left closed rather than
    // reopened without end.
    if (mState->Reopening) {
        RefreshButtons();
        return;
    }
    mState->Reopening = true;
    const auto done = qScopeGuard([this] { mState->Reopening = false; });
    OpenBDP(mState->FileName);
}

bool ClassDBP::isBaseConsistent() const {
    return BaseVerifier(mState->FileNumber).verify(BaseVerifier::Pictures::Skip).isEmpty();
}

RewritePaths ClassDBP::rewritePaths() const {
    const QString folder = mHost.programFolder();
    return {mState->FileName, TempBasePath(), BackupBasePath(),
            pathInFolder(folder, BitmapFileName), pathInFolder(folder, LockFileName)};
}

bool ClassDBP::replaceBaseWith(LongOperation operation, std::int64_t newSize,
                               const VersionWriter& writer) {
    std::int64_t written = 0;
    mState->RewriteProgress = [&](std::int64_t copied) {
        written += copied;
        if (!mHost.reportProgress(operation, written, newSize)) {
            throw RewriteCancelled{};
        }
    };
    const auto whileWaiting = [&] {
        if (!mHost.reportProgress(operation, 0, 0)) {
            throw RewriteCancelled{};
        }
    };
    const FileLock* reserved = mState->Reservation ? &*mState->Reservation : nullptr;
    try {
        BaseRewrite rewrite(rewritePaths(), reserved, mHost.lockPatience(), whileWaiting);
        if (!isBaseUnchanged()) {
            throw BaseChanged{};
        }
        if (!isBaseConsistent()) {
            throw BaseInconsistent{};
        }
        BinaryFile& target = rewrite.createTarget();
        mState->RewriteProgress(0);
        writer.write(target);
        if (!mHost.reportProgress(operation, newSize, newSize)) {
            throw RewriteCancelled{};
        }
        rewrite.replaceBase();
        if (mState->Reservation && !mState->Reservation->holdsFileAt(mState->FileName)) {
            if (std::optional<FileLock> lock = rewrite.takeNewBaseLock()) {
                mState->Reservation = std::move(lock);
            }
        }
        mState->RewriteProgress = {};
        // Still under the lock, so that the file opened is the one written.
        reopenAfterRewrite();
        return true;
    } catch (const BaseBusy&) {
        stopBox(EngineText::BaseBusy);
    } catch (const BaseChanged&) {
        mState->RewriteProgress = {};
        reopenChangedBase();
        return false;
    } catch (const BaseInconsistent&) {
        damagedBaseBox(EngineText::CorruptPicture);
    } catch (const RewriteCancelled&) {
        // The owner asked: nothing to say.
    } catch (...) {
        mState->RewriteProgress = {};
        throw;
    }
    mState->RewriteProgress = {};
    RefreshButtons();
    return false;
}

// The new version is in place: failing to open it now must not make the
// change look failed, so the engine is left with no base open instead.
void ClassDBP::reopenAfterRewrite() {
    mState->FileNumber.close();
    try {
        mState->FileNumber = BinaryFile::openForReading(mState->FileName);
        mState->Opened = mState->FileNumber.status();
        mState->Signature = BdpSignature;
    } catch (...) {
        mState->FileNumber.close();
    }
}

bool ClassDBP::ReserveBDP(const QString& ifileName) {
    if (!FileExists(ifileName)) {
        return true;  // opening it will say so
    }
    try {
        std::optional<FileLock> lock =
            FileLock::lockFileAt(ifileName, mHost.lockPatience(), FileLock::WhileWaiting());
        if (!lock) {
            stopBox(EngineText::BaseBusy);
            return false;
        }
        mState->Reservation = std::move(lock);
    } catch (const RunFailure&) {
        // A file that cannot be read: opening it will say so.
    }
    return true;
}

}  // namespace pictarium
