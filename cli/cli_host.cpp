#include "cli/cli_host_p.h"

#include "cli/console_p.h"

#include <utility>

namespace pictarium::cli {

CliHost::CliHost(QString programFolder, bool answerYes)
    : mProgramFolder(std::move(programFolder)), mAnswerYes(answerYes) {}

void CliHost::GetContent(const QImage& Ipic, const QString& iText) {
    mLastText = iText;
    mLastPicture = Ipic;
    if (!Ipic.isNull()) {
        ++mDeliveredRecords;
    }
}

MessageAnswer CliHost::showMessage(const Message& message) {
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
