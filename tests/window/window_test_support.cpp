#include "tests/window/window_test_support.h"

#include "engine/bdp_format.h"
#include "engine/class_dbp.h"
#include "tests/engine/recording_host.h"
#include "window/description_box_p.h"
#include "window/display_box_p.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <stdexcept>

namespace pictarium::test {

QImage plainPicture(int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

void writeBase(const QString& path, const std::vector<std::pair<QImage, QString>>& records) {
    RecordingHost host(QFileInfo(path).absolutePath());
    ClassDBP engine(host);
    bool written = engine.CreateBDP(path) && engine.OpenBDP(path);
    for (const auto& [picture, text] : records) {
        written = written && engine.AddBDP(picture, text);
    }
    // Any message means the test's own set-up failed.
    if (!written || !host.messages.empty()) {
        throw std::runtime_error("cannot write the test base");
    }
}

QString writeDefaultAlbum(const QString& folder,
                          const std::vector<std::pair<QImage, QString>>& records) {
    const QString path = folder + QStringLiteral("/album.bdp");
    writeBase(path, records);
    writeDefaultBase(folder, path);
    return path;
}

void spoilStoredPicture(const QString& basePath, int index) {
    QFile file(basePath);
    if (!file.open(QIODevice::ReadWrite)) {
        throw std::runtime_error("cannot open the test base");
    }
    const QByteArray header = file.read(HeaderSize);
    const std::int32_t count = getInt32(header.constData() + 4);
    file.seek(HeaderSize + qint64{IndexEntrySize} * index);
    const IndexEntry entry = decodeEntry(file.read(IndexEntrySize).constData());
    file.seek(entry.PicOffset + qint64{IndexEntrySize} * count);
    file.write(QByteArray(entry.PicLength, 'X'));
}

void writeDefaultBase(const QString& folder, const QString& basePath) {
    QFile file(folder + QStringLiteral("/default.tsi"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot write the pointer file");
    }
    file.write(QFile::encodeName(basePath));
}

StartedWindow::StartedWindow(const QString& folder, const QString& commandLine,
                             std::chrono::milliseconds progressDelay) {
    WindowSetup setup;
    setup.progressDelay = progressDelay;
    setup.folders = {withSeparator(folder), withSeparator(folder), withSeparator(folder) + "trash",
                     withSeparator(folder) + "thumbnails"};
    setup.commandLine = commandLine;
    auto dialog = std::make_unique<ScriptedDialogControl>();
    auto boxes = std::make_unique<ScriptedMessageBoxes>();
    mDialog = dialog.get();
    mBoxes = boxes.get();
    setup.dialogControl = std::move(dialog);
    setup.messageBoxes = std::move(boxes);
    mWindow = std::make_unique<MainDialog>(std::move(setup));
    mWindow->show();
    if (!QTest::qWaitForWindowExposed(mWindow.get())) {
        throw std::runtime_error("the window is not shown");
    }
}

bool StartedWindow::enabled(const char* name) const {
    const QWidget* widget = control(name);
    return widget != nullptr && widget->isEnabled();
}

QStringList StartedWindow::enabledAmong(const QStringList& names) const {
    QStringList on;
    for (const QString& name : names) {
        if (enabled(name.toLatin1().constData())) {
            on.append(name);
        }
    }
    return on;
}

void StartedWindow::click(const char* name) const {
    auto* button = control<QAbstractButton>(name);
    if (button == nullptr) {
        throw std::runtime_error(std::string("no button ") + name);
    }
    button->click();
}

void StartedWindow::typeDescription(const QString& text) const {
    control<DescriptionBox>("TextDescription")->setText(text);
}

QString StartedWindow::description() const {
    return control<DescriptionBox>("TextDescription")->text();
}

QColor StartedWindow::displayColourAt(int x, int y) const {
    auto* box = control<DisplayBox>("PicShow");
    const QImage drawn = box->grab().toImage();
    const QPoint inside = box->contentsRect().topLeft();
    return drawn.pixelColor(inside.x() + x, inside.y() + y);
}

}  // namespace pictarium::test
