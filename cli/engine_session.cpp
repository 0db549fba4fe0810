#include "cli/engine_session_p.h"

#include "cli/console_p.h"

#include <QCoreApplication>

namespace pictarium::cli {

namespace {

// The program's folder holds the engine's temporary files, as for the window.
QString ownFolder() {
    return QCoreApplication::applicationDirPath() + u'/';
}

}  // namespace

EngineSession::EngineSession(bool answerYes) : mHost(ownFolder(), answerYes), mEngine(mHost) {}

bool EngineSession::open(const QString& baseName) {
    const bool opened = mEngine.OpenBDP(baseName) && mEngine.isBaseOpen();
    mFirstRecordTried = opened && mEngine.recordCount() > 0;
    return opened;
}

bool EngineSession::show(std::int32_t index) {
    const std::int32_t count = mEngine.recordCount();
    if (index >= count) {
        printError(QStringLiteral("Pas d'enregistrement d'index %1 : la base en compte %2.")
                       .arg(QString::number(index), QString::number(count)));
        return false;
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

}  // namespace pictarium::cli
