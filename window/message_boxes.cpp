#include "window/message_boxes.h"

#include <QInputDialog>

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

namespace {

// An input box with French buttons, whatever Qt's translations hold.
std::unique_ptr<QInputDialog> makeInput(const QString& title, const QString& label,
                                        QWidget* parent) {
    auto box = std::make_unique<QInputDialog>(parent);
    box->setWindowTitle(title);
    box->setLabelText(label);
    box->setOkButtonText(QStringLiteral("OK"));
    box->setCancelButtonText(QStringLiteral("Annuler"));
    return box;
}

}  // namespace

std::optional<QString> MessageBoxes::askText(const QString& title, const QString& label,
                                             const QString& text, QWidget* parent) {
    const std::unique_ptr<QInputDialog> box = makeInput(title, label, parent);
    box->setInputMode(QInputDialog::TextInput);
    box->setTextValue(text);
    if (!runInput(*box)) {
        return std::nullopt;
    }
    return box->textValue();
}

std::optional<int> MessageBoxes::askNumber(const QString& title, const QString& label, int value,
                                           int lowest, int highest, QWidget* parent) {
    const std::unique_ptr<QInputDialog> box = makeInput(title, label, parent);
    box->setInputMode(QInputDialog::IntInput);
    box->setIntRange(lowest, highest);
    box->setIntValue(value);
    if (!runInput(*box)) {
        return std::nullopt;
    }
    return box->intValue();
}

bool MessageBoxes::runInput(QInputDialog& box) {
    return box.exec() == QDialog::Accepted;
}

QMessageBox::StandardButton MessageBoxes::runBox(QMessageBox& box) {
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace pictarium
