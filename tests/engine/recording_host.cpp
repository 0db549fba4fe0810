#include "tests/engine/recording_host.h"

namespace pictarium::test {

void RecordingHost::record(const char* event, bool enabled) {
    mLog.push_back(std::string(event) + (enabled ? "(1)" : "(0)"));
}

void RecordingHost::GetContent(const QImage& Ipic, const QString& iText) {
    lastPicture = Ipic;
    lastText = iText;
    mLog.push_back(Ipic.isNull() ? "Content(none," + iText.toStdString() + ")"
                                 : "Content(" + iText.toStdString() + ")");
}

MessageAnswer RecordingHost::showMessage(const Message& message) {
    messages.push_back(message);
    const char* icon = message.icon == MessageIcon::Stop          ? "stop"
                       : message.icon == MessageIcon::Information ? "info"
                                                                  : "question";
    mLog.push_back(std::string("Box[") + icon + "|" + message.title.toStdString() + "] " +
                   message.text.toStdString());
    if (message.buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (mAnswers.empty()) {
        return MessageAnswer::No;
    }
    const MessageAnswer next = mAnswers.front();
    mAnswers.pop_front();
    return next;
}

bool RecordingHost::reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) {
    ++progressReports;
    return !onProgress || onProgress(operation, done, total);
}

std::vector<std::string> RecordingHost::take() {
    std::vector<std::string> log;
    log.swap(mLog);
    return log;
}

}  // namespace pictarium::test
