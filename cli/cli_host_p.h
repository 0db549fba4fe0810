#pragma once

#include "engine/engine_host.h"

#include <QString>

#include <utility>

namespace pictarium::cli {

// The engine's owner on a terminal: boxes become lines on standard error,
// questions get the answer chosen on the command line, and the record on
// show is remembered for the command that asked for it.
class CliHost final : public EngineHost {
public:
    CliHost(QString programFolder, QString trashFolder, bool answerYes);

    void NextButtonEnabled(bool) override {}
    void LastButtonEnabled(bool) override {}
    void SearchButtonEnabled(bool) override {}
    void DeleteButtonEnabled(bool) override {}
    void AddButtonEnabled(bool) override {}
    void GetContent(const QImage& Ipic, const QString& iText) override;

    MessageAnswer showMessage(const Message& message) override;
    void setBusyPointer(bool) override {}
    [[nodiscard]] QString programFolder() const override { return mProgramFolder; }
    [[nodiscard]] QString trashFolder() const override { return mTrashFolder; }
    // On a terminal, a line on standard error that counts up to 100 %.
    bool reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) override;

    // Information boxes are the output of some commands rather than news.
    void setInformationToStandardOutput(bool enabled) { mInformationToStandardOutput = enabled; }

    // While set, the news that another program changed the base is kept
    // back: a command that only reads starts again instead.
    void holdChangeNews(bool hold) { mHoldChangeNews = hold; }
    [[nodiscard]] bool sawBaseChange() const { return mSawBaseChange; }

    // How many records have been delivered with a picture so far.
    [[nodiscard]] int deliveredRecords() const { return mDeliveredRecords; }
    [[nodiscard]] const QString& lastText() const { return mLastText; }
    [[nodiscard]] const QImage& lastPicture() const { return mLastPicture; }
    // The picture delivered last, which the host then lets go, so that it
    // is freed before the next one is read.
    [[nodiscard]] QImage takeLastPicture() { return std::exchange(mLastPicture, QImage()); }

private:
    void endProgressLine();

    QString mProgramFolder;
    QString mTrashFolder;
    bool mProgressOnTerminal;
    int mProgressShown = -1;  // the percentage on the open progress line, or -1
    bool mAnswerYes;
    bool mInformationToStandardOutput = false;
    bool mHoldChangeNews = false;
    bool mSawBaseChange = false;
    int mDeliveredRecords = 0;
    QString mLastText;
    QImage mLastPicture;
};

}  // namespace pictarium::cli
