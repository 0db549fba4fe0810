#include "window/help_window_p.h"

#include "window/child_widget_p.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pictarium {

namespace {

const QUrl HelpPage(QStringLiteral("qrc:/help/aide.html"));

QString anchorOf(int topic) {
    return QStringLiteral("topic-%1").arg(topic);
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Aide de Pictarium"));
    // A window of its own beside the main one, not a box that blocks it.
    setModal(false);
    mBrowser = createChild<QTextBrowser>(this, QStringLiteral("HelpText"));
    mBrowser->setOpenExternalLinks(true);
    mBrowser->setSource(HelpPage);
    auto* layout = createChild<QVBoxLayout>(this, QStringLiteral("HelpLayout"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mBrowser);
    resize(640, 560);
}

void HelpWindow::showTopic(int topic) {
    if (topic == NoTopic) {
        mBrowser->setSource(HelpPage);
        mBrowser->verticalScrollBar()->setValue(0);
    } else {
        mBrowser->scrollToAnchor(anchorOf(topic));
    }
    if (!isVisible()) {
        placeOnScreen();
    }
    show();
    raise();
    activateWindow();
}

// Whole on the screen of the window that asks, in its middle: beside a
// window near the screen's edge, the help would otherwise run off it.
void HelpWindow::placeOnScreen() {
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    resize(size().boundedTo(available.size() * 9 / 10));
    move(available.center() - QPoint(width() / 2, height() / 2));
}

}  // namespace pictarium
