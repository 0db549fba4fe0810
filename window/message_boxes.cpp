#include "window/message_boxes.h"

namespace pictarium {

namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> MessageBoxes::makeBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(iconOf(message.icon));
    box->setWindowTitle(message.title);
    // The engine breaks lines the Windows way.
    QString text = message.text;
    box->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (message.buttons == MessageButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}

MessageAnswer MessageBoxes::show(const Message& message, QWidget* parent) {
    const std::unique_ptr<QMessageBox> box = makeBox(message, parent);
    switch (runBox(*box)) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

QMessageBox::StandardButton MessageBoxes::runBox(QMessageBox& box) {
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace pictarium
