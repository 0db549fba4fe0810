// Writing what a damaged base still holds into a new base.

#include "engine/class_dbp.h"

#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/base_recovery.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/engine_texts.h"

namespace pictarium {

bool ClassDBP::RecoverBDP(const BinaryFile& damaged, const RecoveryReport& found,
                          const QString& newName) {
    if (damaged.isSameFileAs(newName)) {
        stopBox(EngineText::RecoverOntoDamaged);
        return false;
    }
    // The new base starts empty, so that the records go in through the
    // rewrite, with its locks and its swap, as every change does.
    if (!CreateBDP(newName) || !OpenBDP(newName)) {
        return false;
    }
    bool written = false;
    try {
        const VersionWriter writer{[&](BinaryFile& target) {
            writeRecoveredBase(damaged, found, target, mState->RewriteProgress);
        }};
        written = replaceBaseWith(LongOperation::RecoveringBase, recoveredBaseSize(found), writer);
    } catch (...) {
        ShowError(runFailureOfCurrentException());
    }
    if (!written) {
        mState->FileNumber.close();
        removeFileQuietly(newName);
        RefreshButtons();
    }
    return written;
}

}  // namespace pictarium
