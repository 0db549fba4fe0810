#pragma once

#include "engine/engine_host.h"

#include <QString>

namespace pictarium::cli {

// The engine's owner on a terminal: boxes become lines on standard error,
// questions get the answer chosen on the command line, and the record on
// show is remembered for the command that asked for it.
class CliHost final : public EngineHost {
public:
    CliHost(QString programFolder, bool answerYes);

    void NextButtonEnabled(bool) override {}
    void LastButtonEnabled(bool) override {}
    void SearchButtonEnabled(bool) override {}
    void DeleteButtonEnabled(bool) override {}
    void AddButtonEnabled(bool) override {}
    void GetContent(const QImage& Ipic, const QString& iText) override;

    MessageAnswer showMessage(const Message& message) override;
    void setBusyPointer(bool) override {}
    [[nodiscard]] QString programFolder() const override { return mProgramFolder; }

    // Information boxes are the output of some commands rather than news.
    void setInformationToStandardOutput(bool enabled) { mInformationToStandardOutput = enabled; }

    // How many records have been delivered with a picture so far.
    [[nodiscard]] int deliveredRecords() const { return mDeliveredRecords; }
    [[nodiscard]] const QString& lastText() const { return mLastText; }
    [[nodiscard]] const QImage& lastPicture() const { return mLastPicture; }

private:
    QString mProgramFolder;
    bool mAnswerYes;
    bool mInformationToStandardOutput = false;
    int mDeliveredRecords = 0;
    QString mLastText;
    QImage mLastPicture;
};

}  // namespace pictarium::cli
