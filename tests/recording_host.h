#pragma once

#include "engine/engine_host.h"

#include <QString>

#include <deque>
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

    // Answers for the next questions, in order; an unscripted question is answered No.
    void answer(MessageAnswer next) { mAnswers.push_back(next); }
    // Returns the events and messages recorded so far and forgets them.
    std::vector<std::string> take();

    std::vector<Message> messages;
    QImage lastPicture;
    QString lastText;
    bool mBusy = false;

private:
    void record(const char* event, bool enabled);

    QString mFolder;
    std::deque<MessageAnswer> mAnswers;
    std::vector<std::string> mLog;
};

}  // namespace pictarium::test
