#pragma once

#include <QDir>
#include <QImage>
#include <QString>

#include <chrono>
#include <cstdint>

namespace pictarium {

enum class MessageIcon { Stop, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The long operations whose progress the engine reports.
enum class LongOperation {
    AddingPicture,
    AddingPictures,
    DeletingRecord,
    DeletingRecords,
    ChangingText,
    ChangingTexts,
    MovingRecord,
    RestoringRecords,
    RecoveringBase,
};

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Stop;
    MessageButtons buttons = MessageButtons::Ok;
    // Said because the base on disk is damaged, so that a front end can
    // tell what may still be saved of it.
    bool baseDamaged = false;
};

// Everything the engine needs from the program that owns it: the window,
// the command-line tool or a test. Events are delivered synchronously; the
// engine goes on only once the handler has returned.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    virtual void NextButtonEnabled(bool Enabled) = 0;
    virtual void LastButtonEnabled(bool Enabled) = 0;
    virtual void SearchButtonEnabled(bool Enabled) = 0;
    virtual void DeleteButtonEnabled(bool Enabled) = 0;
    virtual void AddButtonEnabled(bool Enabled) = 0;
    // A null picture and an empty text mean "nothing to show".
    virtual void GetContent(const QImage& Ipic, const QString& iText) = 0;

    // Shows a modal box and returns the button chosen.
    virtual MessageAnswer showMessage(const Message& message) = 0;
    // The application-wide pointer: a state, not a stack.
    virtual void setBusyPointer(bool busy) = 0;
    // The folder that holds the program and its temporary files.
    [[nodiscard]] virtual QString programFolder() const = 0;

    // Told now and then how far a long operation has come: `done` of
    // `total` bytes written, or 0 of 0 while another program is changing
    // the base. Returning false asks the engine to stop; it does so before
    // anything is replaced, and the base stays exactly as it was.
    virtual bool reportProgress(LongOperation /*operation*/, std::int64_t /*done*/,
                                std::int64_t /*total*/) {
        return true;
    }
    // The folder that holds the trashes of the bases, one per base.
    [[nodiscard]] virtual QString trashFolder() const {
        return QDir(programFolder()).filePath(QStringLiteral("trash"));
    }
    // How many bytes the trash of one base keeps at most; the oldest
    // records leave first.
    [[nodiscard]] virtual std::int64_t trashLimit() const { return std::int64_t{1} << 30; }

    // How long a change waits for another program that is changing the
    // same base (or using the same program folder) before giving up.
    [[nodiscard]] virtual std::chrono::milliseconds lockPatience() const {
        return std::chrono::seconds(30);
    }
};

}  // namespace pictarium
