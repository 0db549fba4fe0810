#include "cli/engine_session_p.h"

#include "base/program_folders.h"
#include "cli/console_p.h"

namespace pictarium::cli {

namespace {

// The engine's temporary files and the trashes go where the window's go.
const ProgramFolders& ownFolders() {
    static const ProgramFolders folders = findProgramFolders();
    return folders;
}

bool reportMissing(std::int32_t index, std::int32_t count, const QString& where = QString()) {
    printError(where + QStringLiteral("Pas d'enregistrement d'index %1 : la base en compte %2.")
                           .arg(QString::number(index), QString::number(count)));
    return false;
}

}  // namespace

EngineSession::EngineSession(bool answerYes)
    : mHost(ownFolders().dataFolder, ownFolders().trashFolder, answerYes), mEngine(mHost) {}

bool EngineSession::open(const QString& baseName) {
    const bool opened = mEngine.OpenBDP(baseName) && mEngine.isBaseOpen();
    mFirstRecordTried = opened && mEngine.recordCount() > 0;
    return opened;
}

bool EngineSession::openToChange(const QString& baseName) {
    return mEngine.ReserveBDP(baseName) && open(baseName);
}

bool EngineSession::select(std::int32_t index) {
    const std::int32_t count = mEngine.recordCount();
    if (index >= count) {
        return reportMissing(index, count);
    }
    return mEngine.SelectRecord(index);
}

bool EngineSession::hasRecord(std::int32_t index, const QString& where) {
    const std::int32_t count = mEngine.recordCount();
    return index < count || reportMissing(index, count, where);
}

bool EngineSession::show(std::int32_t index) {
    const std::int32_t count = mEngine.recordCount();
    if (index >= count) {
        return reportMissing(index, count);
    }
    if (mEngine.currentIndex() == index) {
        return true;
    }
    // Asking again would only repeat the message of the failed first try.
    const bool firstRecordTried = mFirstRecordTried;
    mFirstRecordTried = false;
    if (index == 0 && firstRecordTried) {
        return false;
    }
    return mEngine.MoveTo(index) && mEngine.currentIndex() == index;
}

ExitStatus readAgainOnChange(const std::function<ExitStatus(EngineSession&)>& read) {
    constexpr int Attempts = 5;
    for (int attempt = 1;; ++attempt) {
        EngineSession session;
        const bool last = attempt == Attempts;
        session.host().holdChangeNews(!last);
        const ExitStatus status = read(session);
        if (last || !session.host().sawBaseChange()) {
            return status;
        }
    }
}

}  // namespace pictarium::cli
