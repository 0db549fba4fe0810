#pragma once

#include "engine/engine_host.h"

#include <QImage>
#include <QString>

#include <utility>

namespace pictarium::fuzz {

// An owner that answers Yes to every question and touches what it is
// given, so that a picture or text the engine delivers is really read.
class AnsweringHost final : public EngineHost {
public:
    explicit AnsweringHost(QString folder) : mFolder(std::move(folder)) {}

    void NextButtonEnabled(bool /*Enabled*/) override {}
    void LastButtonEnabled(bool /*Enabled*/) override {}
    void SearchButtonEnabled(bool /*Enabled*/) override {}
    void DeleteButtonEnabled(bool /*Enabled*/) override {}
    void AddButtonEnabled(bool /*Enabled*/) override {}

    void GetContent(const QImage& Ipic, const QString& iText) override {
        mShown = Ipic;
        if (!Ipic.isNull()) {
            mSeen ^= Ipic.pixel(Ipic.width() - 1, Ipic.height() - 1);
        }
        for (const QChar character : iText) {
            mSeen ^= character.unicode();
        }
    }

    MessageAnswer showMessage(const Message& message) override {
        mSeen ^= static_cast<unsigned>(message.text.size());
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    void setBusyPointer(bool /*busy*/) override {}
    [[nodiscard]] QString programFolder() const override { return mFolder; }

    [[nodiscard]] unsigned seen() const { return mSeen; }

private:
    QString mFolder;
    QImage mShown;
    unsigned mSeen = 0;
};

}  // namespace pictarium::fuzz
