#pragma once

#include "engine/engine_host.h"

#include <QImage>
#include <QString>

#include <utility>

namespace pictarium::bench {

// An owner that shows nothing. It answers every question with Yes, keeps
// the picture delivered last as a window would, and remembers the last
// message so that a benchmark can check that it measured what it meant to.
class QuietHost final : public EngineHost {
public:
    explicit QuietHost(QString folder) : mFolder(std::move(folder)) {}

    void NextButtonEnabled(bool /*Enabled*/) override {}
    void LastButtonEnabled(bool /*Enabled*/) override {}
    void SearchButtonEnabled(bool /*Enabled*/) override {}
    void DeleteButtonEnabled(bool /*Enabled*/) override {}
    void AddButtonEnabled(bool /*Enabled*/) override {}

    void GetContent(const QImage& Ipic, const QString& /*iText*/) override {
        mShownPicture = Ipic;
        if (!Ipic.isNull()) {
            ++mPicturesShown;
        }
    }

    MessageAnswer showMessage(const Message& message) override {
        mLastMessage = message.text;
        ++mMessageCount;
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    void setBusyPointer(bool /*busy*/) override {}
    [[nodiscard]] QString programFolder() const override { return mFolder; }

    [[nodiscard]] long long picturesShown() const { return mPicturesShown; }
    [[nodiscard]] long long messageCount() const { return mMessageCount; }
    [[nodiscard]] const QString& lastMessage() const { return mLastMessage; }

private:
    QString mFolder;
    QImage mShownPicture;
    QString mLastMessage;
    long long mPicturesShown = 0;
    long long mMessageCount = 0;
};

}  // namespace pictarium::bench
