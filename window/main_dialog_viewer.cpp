// The viewer: the record on show at full size, in a window of its own that
// follows the main window's record and browses through its buttons.

#include "window/main_dialog.h"

#include "window/child_widget_p.h"
#include "window/display_box_p.h"
#include "window/picture_holder_p.h"
#include "window/viewer_window_p.h"

#include <QAction>
#include <QFileInfo>
#include <QToolButton>

namespace pictarium {

void MainDialog::connectViewer() {
    auto* show = createChild<QAction>(this, QStringLiteral("ShowViewer"));
    show->setText(QStringLiteral("Afficher en grand"));
    show->setShortcut(QKeySequence(Qt::Key_F11));
    connect(show, &QAction::triggered, this, &MainDialog::showViewer);
    addAction(show);
    mUi.PicShow->insertAction(mUi.PicShow->actions().value(0), show);
}

void MainDialog::showViewer() {
    if (!Base || !Base->isBaseOpen() || !mUi.PicLoad->holdsPicture()) {
        return;
    }
    if (mViewer == nullptr) {
        mViewer = createChild<ViewerWindow>(this, QStringLiteral("ViewerWindow"),
                                            [this](ViewerWindow::Step step) { browseFrom(step); });
    }
    mViewer->show();
    updateViewer();
    mViewer->raise();
    mViewer->activateWindow();
}

void MainDialog::updateViewer() {
    if (mViewer == nullptr || !mViewer->isVisible() || !Base) {
        return;
    }
    const bool shown = Base->isBaseOpen() && mUi.PicLoad->holdsPicture();
    mViewer->setBaseName(QFileInfo(Base->fileName()).fileName());
    mViewer->showRecord(shown ? mUi.PicLoad->picture() : QImage(),
                        shown ? Base->currentText() : QString(), shown ? Base->currentIndex() : -1,
                        Base->recordCount());
}

// Through the buttons, as the keys of the main window, so with the same
// checks; the viewer follows through the engine's events.
void MainDialog::browseFrom(ViewerWindow::Step step) {
    QToolButton* button = nullptr;
    switch (step) {
        case ViewerWindow::Step::First:
            button = mUi.Command9;
            break;
        case ViewerWindow::Step::Previous:
            button = mUi.Command2;
            break;
        case ViewerWindow::Step::Next:
            button = mUi.Command3;
            break;
        case ViewerWindow::Step::Last:
            button = mUi.Command10;
            break;
    }
    pressFromKey(button, KeyScope::Anywhere);
}

}  // namespace pictarium
