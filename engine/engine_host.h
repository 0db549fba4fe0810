#pragma once

#include <QImage>
#include <QString>

namespace pictarium {

enum class MessageIcon { Stop, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::Stop;
    MessageButtons buttons = MessageButtons::Ok;
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
};

}  // namespace pictarium
