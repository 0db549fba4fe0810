#include "window/viewer_window_p.h"

#include "window/child_widget_p.h"
#include "window/picture_view_p.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace pictarium {

namespace {

constexpr double KeyZoomStep = 1.25;

}  // namespace

ViewerWindow::ViewerWindow(Browse browse, QWidget* parent)
    : QWidget(parent, Qt::Window), mBrowse(std::move(browse)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    mView = createChild<PictureView>(this, QStringLiteral("ViewerPicture"));
    mView->setFocusPolicy(Qt::StrongFocus);
    mView->setZoomChanged([this] { showZoom(); });
    mText = createChild<QLabel>(this, QStringLiteral("ViewerDescription"));
    mText->setWordWrap(true);
    mText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mText->setTextFormat(Qt::PlainText);
    mPosition = createChild<QLabel>(this, QStringLiteral("ViewerPosition"));
    mZoom = createChild<QLabel>(this, QStringLiteral("ViewerZoom"));

    auto* layout = createChild<QVBoxLayout>(this, QStringLiteral("ViewerLayout"));
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(mView, 1);
    auto* bar = createChild<QWidget>(this, QStringLiteral("ViewerCaption"));
    auto* under = createChild<QHBoxLayout>(bar, QStringLiteral("ViewerCaptionLayout"));
    under->setContentsMargins(8, 0, 8, 0);
    under->addWidget(mText, 1);
    under->addWidget(mPosition);
    under->addSpacing(12);
    under->addWidget(mZoom);
    layout->addWidget(bar);

    addKeys();
    setContextMenuPolicy(Qt::ActionsContextMenu);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(screen.size() * 3 / 4);
    mView->setFocus();
}

void ViewerWindow::addAction(const QString& name, const QString& text,
                             const QList<QKeySequence>& keys, const std::function<void()>& action) {
    auto* item = createChild<QAction>(this, name);
    item->setText(text);
    item->setShortcuts(keys);
    connect(item, &QAction::triggered, this, action);
    QWidget::addAction(item);
}

void ViewerWindow::addKeys() {
    const auto browse = [this](Step step) { return [this, step] { mBrowse(step); }; };
    addAction(QStringLiteral("ViewerFit"), QStringLiteral("Ajuster à la fenêtre"),
              {QKeySequence(Qt::Key_0), QKeySequence(Qt::CTRL | Qt::Key_0)},
              [this] { mView->fitToView(); });
    addAction(QStringLiteral("ViewerActualSize"), QStringLiteral("Taille réelle (100 %)"),
              {QKeySequence(Qt::Key_1), QKeySequence(Qt::CTRL | Qt::Key_1)},
              [this] { mView->showActualSize(); });
    addAction(QStringLiteral("ViewerZoomIn"), QStringLiteral("Agrandir"),
              {QKeySequence(Qt::Key_Plus), QKeySequence(QKeySequence::ZoomIn)},
              [this] { mView->zoomBy(KeyZoomStep, mView->keyboardAnchor()); });
    addAction(QStringLiteral("ViewerZoomOut"), QStringLiteral("Réduire"),
              {QKeySequence(Qt::Key_Minus), QKeySequence(QKeySequence::ZoomOut)},
              [this] { mView->zoomBy(1 / KeyZoomStep, mView->keyboardAnchor()); });
    addAction(QStringLiteral("ViewerPrevious"), QStringLiteral("Enregistrement précédent"),
              {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)}, browse(Step::Previous));
    addAction(QStringLiteral("ViewerNext"), QStringLiteral("Enregistrement suivant"),
              {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)}, browse(Step::Next));
    addAction(QStringLiteral("ViewerFirst"), QStringLiteral("Premier enregistrement"),
              {QKeySequence(Qt::Key_Home)}, browse(Step::First));
    addAction(QStringLiteral("ViewerLast"), QStringLiteral("Dernier enregistrement"),
              {QKeySequence(Qt::Key_End)}, browse(Step::Last));
    addAction(QStringLiteral("ViewerFullScreen"), QStringLiteral("Plein écran"),
              {QKeySequence(Qt::Key_F11)}, [this] { toggleFullScreen(); });
    addAction(QStringLiteral("ViewerClose"), QStringLiteral("Fermer"),
              {QKeySequence(Qt::Key_Escape)}, [this] { close(); });
}

void ViewerWindow::setBaseName(const QString& fileName) {
    setWindowTitle(QStringLiteral("Visionneuse – ") + fileName);
}

void ViewerWindow::showRecord(const QImage& picture, const QString& text, std::int32_t index,
                              std::int32_t count) {
    if (picture.cacheKey() != mView->picture().cacheKey() || picture.isNull()) {
        mView->setPicture(picture);
    }
    mText->setText(text);
    mPosition->setText(index < 0 ? QString() : QStringLiteral("%1 / %2").arg(index + 1).arg(count));
    mView->setAccessibleDescription(text);
}

void ViewerWindow::toggleFullScreen() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void ViewerWindow::showZoom() {
    mZoom->setText(QStringLiteral("%1 %").arg(std::lround(mView->zoom() * 100)));
}

}  // namespace pictarium
