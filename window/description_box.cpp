#include "window/description_box_p.h"

#include <QTextCursor>

#include <algorithm>

namespace pictarium {

namespace {

const QString WindowsLineBreak = QStringLiteral("\r\n");

// The length with Windows line breaks, two characters each.
qsizetype windowsLength(const QString& plain) {
    return plain.size() + plain.count(QLatin1Char('\n'));
}

}  // namespace

DescriptionBox::DescriptionBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
    connect(
        document(), &QTextDocument::contentsChange, this,
        [this](int position, int, int charsAdded) { keepWithinMaxLength(position, charsAdded); });
}

QString DescriptionBox::text() const {
    QString plain = toPlainText();
    return plain.replace(QLatin1Char('\n'), WindowsLineBreak);
}

void DescriptionBox::setText(const QString& text) {
    // The limit is the user's: a stored description is shown whole.
    QString plain = text;
    mLimitSuspended = true;
    setPlainText(plain.replace(WindowsLineBreak, QStringLiteral("\n")));
    mLimitSuspended = false;
}

// Typing or pasting past the limit keeps only the start of what was
// inserted that fits; what was there before stays.
void DescriptionBox::keepWithinMaxLength(int position, int charsAdded) {
    if (mLimitSuspended || charsAdded <= 0) {
        return;
    }
    const QString plain = toPlainText();
    const qsizetype end = std::min<qsizetype>(position + charsAdded, plain.size());
    if (windowsLength(plain) <= MaxLength || end <= position) {
        return;
    }
    const QString inserted = plain.mid(position, end - position);
    qsizetype room = MaxLength - (windowsLength(plain) - windowsLength(inserted));
    qsizetype kept = 0;
    for (const QChar c : inserted) {
        const qsizetype length = c == QLatin1Char('\n') ? 2 : 1;
        if (length > room) {
            break;
        }
        room -= length;
        ++kept;
    }
    mLimitSuspended = true;
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(position + kept));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    mLimitSuspended = false;
}

}  // namespace pictarium
