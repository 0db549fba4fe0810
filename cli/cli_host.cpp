#include "cli/cli_host_p.h"

#include "base/process_environment.h"
#include "cli/console_p.h"
#include "engine/engine_texts.h"

#include <utility>

namespace pictarium::cli {

CliHost::CliHost(QString programFolder, QString trashFolder, bool answerYes)
    : mProgramFolder(std::move(programFolder)),
      mTrashFolder(std::move(trashFolder)),
      mProgressOnTerminal(standardErrorIsTerminal()),
      mAnswerYes(answerYes) {}

bool CliHost::reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) {
    if (!mProgressOnTerminal) {
        return true;
    }
    const QString label = EngineText::progressLabel(operation, total);
    const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
    if (percent == mProgressShown && total > 0) {
        return true;
    }
    printProgress(total > 0 ? QStringLiteral("%1 %2 %").arg(label).arg(percent) : label);
    mProgressShown = percent;
    if (total > 0 && done >= total) {
        endProgressLine();
    }
    return true;
}

void CliHost::endProgressLine() {
    if (mProgressShown >= 0) {
        printError(QString());
        mProgressShown = -1;
    }
}

void CliHost::GetContent(const QImage& Ipic, const QString& iText) {
    mLastText = iText;
    mLastPicture = Ipic;
    if (!Ipic.isNull()) {
        ++mDeliveredRecords;
    }
}

MessageAnswer CliHost::showMessage(const Message& message) {
    if (message.text == EngineText::BaseChanged) {
        mSawBaseChange = true;
        if (mHoldChangeNews) {
            return MessageAnswer::Ok;
        }
    }
    endProgressLine();
    if (mInformationToStandardOutput && message.icon == MessageIcon::Information) {
        printOut(message.text);
    } else {
        printError(message.text);
    }
    if (message.buttons == MessageButtons::YesNo) {
        return mAnswerYes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

}  // namespace pictarium::cli
