#pragma once

#include "engine/engine_host.h"
#include "tests/qstring_printer.h"

#include <QString>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace pictarium::test {

// An engine owner that writes down everything the engine tells it, in
// order, and answers questions from a script.
class RecordingHost : public EngineHost {
public:
    explicit RecordingHost(QString folder) : mFolder(std::move(folder)) {}

    void NextButtonEnabled(bool Enabled) override { record("Next", Enabled); }
    void LastButtonEnabled(bool Enabled) override { record("Last", Enabled); }
    void SearchButtonEnabled(bool Enabled) override { record("Search", Enabled); }
    void DeleteButtonEnabled(bool Enabled) override { record("Delete", Enabled); }
    void AddButtonEnabled(bool Enabled) override { record("Add", Enabled); }
    void GetContent(const QImage& Ipic, const QString& iText) override;
    MessageAnswer showMessage(const Message& message) override;
    void setBusyPointer(bool busy) override { mBusy = busy; }
    [[nodiscard]] QString programFolder() const override { return mFolder; }
    bool reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) override;
    [[nodiscard]] std::chrono::milliseconds lockPatience() const override { return patience; }
    [[nodiscard]] std::int64_t trashLimit() const override { return trashBytes; }

    // Answers for the next questions, in order; an unscripted question is answered No.
    void answer(MessageAnswer next) { mAnswers.push_back(next); }
    // Returns the events and messages recorded so far and forgets them.
    std::vector<std::string> take();

    std::vector<Message> messages;
    QImage lastPicture;
    QString lastText;
    bool mBusy = false;
    std::chrono::milliseconds patience{5000};
    std::int64_t trashBytes = std::int64_t{1} << 30;
    // Asked at every progress report whether to go on; going on when unset.
    std::function<bool(LongOperation, std::int64_t done, std::int64_t total)> onProgress;
    int progressReports = 0;

private:
    void record(const char* event, bool enabled);

    QString mFolder;
    std::deque<MessageAnswer> mAnswers;
    std::vector<std::string> mLog;
};

}  // namespace pictarium::test
