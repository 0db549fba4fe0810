#pragma once

#include <QDialog>

class QTextBrowser;

namespace pictarium {

// The program's own help, kept in its resources: one page, with an anchor
// "topic-N" for the context-help topic N of each control.
class HelpWindow : public QDialog {
public:
    static constexpr int NoTopic = 0;

    explicit HelpWindow(QWidget* parent);

    // Shows the help, at the section of `topic` when it has one, else at
    // its start, and brings it to the front.
    void showTopic(int topic);

private:
    void placeOnScreen();

    QTextBrowser* mBrowser = nullptr;
};

}  // namespace pictarium
