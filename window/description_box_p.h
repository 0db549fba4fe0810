#pragma once

#include <QPlainTextEdit>

namespace pictarium {

// The description box: one row high, its text wraps at the box's width,
// Enter starts a new line, no scroll bars, and the user can type at most
// MaxLength characters. Line breaks are Windows ones in text(), as
// descriptions are stored, and count two characters.
class DescriptionBox : public QPlainTextEdit {
public:
    static constexpr int MaxLength = 255;

    explicit DescriptionBox(QWidget* parent);

    [[nodiscard]] QString text() const;
    void setText(const QString& text);

private:
    void keepWithinMaxLength(int position, int charsAdded);

    bool mLimitSuspended = false;
};

}  // namespace pictarium
