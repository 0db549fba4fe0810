#include "window/clipboard_watch_p.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace pictarium {

ClipboardWatch::ClipboardWatch(QObject* parent) : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardWatch::update);
    update();
}

void ClipboardWatch::update() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    mHoldsPicture = data != nullptr && data->hasImage();
}

}  // namespace pictarium
