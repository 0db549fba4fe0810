// The keyboard, the mouse wheel and context help: each key does what its
// button does, through the button, so with the same checks and messages.

#include "window/main_dialog.h"

#include "window/child_widget_p.h"
#include "window/description_box_p.h"
#include "window/display_box_p.h"
#include "window/help_window_p.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QWhatsThis>
#include <QWheelEvent>

namespace pictarium {

namespace {

constexpr int DataTab = 0;

// The help topic a control was given when it was built, or none.
int helpTopicOf(const QObject* control) {
    const QVariant topic = control->property("helpTopic");
    return topic.isValid() ? topic.toInt() : HelpWindow::NoTopic;
}

}  // namespace

void MainDialog::connectKeys() {
    // Browsing: not while the description is being typed in.
    bindKey({Qt::Key_Left, Qt::Key_PageUp}, mUi.Command2, KeyScope::Browsing);
    bindKey({Qt::Key_Right, Qt::Key_PageDown}, mUi.Command3, KeyScope::Browsing);
    bindKey({Qt::Key_Home}, mUi.Command9, KeyScope::Browsing);
    bindKey({Qt::Key_End}, mUi.Command10, KeyScope::Browsing);
    // In the description box, copy and paste are the text's own.
    bindKey({QKeySequence::Copy}, mUi.Command15, KeyScope::DataTab);
    bindKey({QKeySequence::Paste}, mUi.Command14, KeyScope::DataTab);
    bindKey({QKeySequence::Save}, mUi.Command16, KeyScope::DataTab);
    bindKey({QKeySequence(Qt::CTRL | Qt::Key_F)}, mUi.Command11, KeyScope::DataTab);
    bindKey({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}, mUi.Command7, KeyScope::DataTab);
    bindKey({QKeySequence::Open}, mUi.Command4, KeyScope::Anywhere);

    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        auto* shortcut = createChild<QShortcut>(this, QStringLiteral("TabKey"), key);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (mCommandsRunning == 0) {
                mUi.TabStrip1->setCurrentIndex(1 - mUi.TabStrip1->currentIndex());
            }
        });
    }
    auto* whatsThis = createChild<QShortcut>(this, QStringLiteral("WhatsThisKey"),
                                             QKeySequence(QKeySequence::WhatsThis));
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });

    for (QToolButton* button : findChildren<QToolButton*>()) {
        button->installEventFilter(this);
    }
    for (QWidget* control : findChildren<QWidget*>()) {
        if (helpTopicOf(control) != HelpWindow::NoTopic) {
            control->installEventFilter(this);
            // What's-This mode only stops on controls that say they have help.
            control->setWhatsThis(QStringLiteral("topic-%1").arg(helpTopicOf(control)));
        }
    }
    mUi.PicShow->installEventFilter(this);
}

void MainDialog::bindKey(std::initializer_list<QKeySequence> keys, QToolButton* button,
                         KeyScope scope) {
    for (const QKeySequence& key : keys) {
        auto* shortcut =
            createChild<QShortcut>(this, button->objectName() + QStringLiteral("Key"), key);
        connect(shortcut, &QShortcut::activated, this,
                [this, button, scope] { pressFromKey(button, scope); });
    }
}

void MainDialog::pressFromKey(QToolButton* button, KeyScope scope) {
    if (mCommandsRunning > 0) {
        return;
    }
    const bool onDataTab = mUi.TabStrip1->currentIndex() == DataTab;
    if (scope != KeyScope::Anywhere && !onDataTab) {
        return;
    }
    if (scope == KeyScope::Browsing && focusWidget() == mUi.TextDescription) {
        return;
    }
    if (button->isEnabled()) {
        button->click();
    }
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return pressOnEnter(watched, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonDblClick:
            if (watched == mUi.PicShow) {
                showViewer();
                return true;
            }
            return QWidget::eventFilter(watched, event);
        case QEvent::Wheel:
            return watched == mUi.PicShow && browseWithWheel(static_cast<QWheelEvent*>(event));
        case QEvent::WhatsThis:
            showHelp(helpTopicOf(watched));
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

// Enter on a focused picture button presses it, as Space does; on the
// display box it opens the viewer.
bool MainDialog::pressOnEnter(QObject* watched, const QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
        return false;
    }
    if (watched == mUi.PicShow) {
        showViewer();
        return true;
    }
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr) {
        return false;
    }
    if (button->isEnabled()) {
        button->click();
    }
    return true;
}

bool MainDialog::browseWithWheel(const QWheelEvent* wheel) {
    const int steps = wheel->angleDelta().y();
    if (steps != 0) {
        pressFromKey(steps > 0 ? mUi.Command2 : mUi.Command3, KeyScope::DataTab);
    }
    return true;
}

void MainDialog::showHelp(int topic) {
    if (mHelp == nullptr) {
        mHelp = createChild<HelpWindow>(this, QStringLiteral("HelpWindow"));
    }
    mHelp->showTopic(topic);
}

}  // namespace pictarium
