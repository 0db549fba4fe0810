// Adding pictures from files and the clipboard, and copying the one on show.

#include "window/main_dialog.h"

#include "engine/engine_texts.h"
#include "imaging/file_extensions.h"
#include "imaging/picture_reader.h"
#include "window/busy_pointer_p.h"
#include "window/description_box_p.h"
#include "window/picture_holder_p.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>

namespace pictarium {

namespace {

// As the open-base box, and the files must exist; several may be chosen.
constexpr int AddImageFlags = 0x28180C | CommonDialogControl::AllowMultiSelect;
const QString AddImageFilter = QStringLiteral(
    "Toutes les images(*.bmp;*.wmf;*.emf;*.rle;*.gif;*.jpg;*.cmp;*.jff;*.jtf;*.tif;*.mpt;*.tga;"
    "*.pcx;*.dcx;*.pic;*.cal;*.mac;*.img;*.msp;*.itg;*.smp;*.pbm;*.wpg;*.ras;*.pct;*.pcd;*.fpx;"
    "*.eps;*.cut;*.psd;*.png;*.clp;*.sgi;*.sct;*.jpeg;*.jpe;*.jfif;*.tiff;*.webp;*.heic;*.heif;"
    "*.avif)|*.bmp;*.wmf;*.emf;*.rle;*.gif;*.jpg;*.cmp;*.jff;"
    "*.jtf;*.tif;*.mpt;*.tga;*.pcx;*.dcx;*.pic;*.cal;*.mac;*.img;*.msp;*.itg;*.smp;*.pbm;*.wpg;"
    "*.ras;*.pct;*.pcd;*.fpx;*.eps;*.cut;*.psd;*.png;*.clp;*.sgi;*.sct;*.jpeg;*.jpe;*.jfif;*.tiff;"
    "*.webp;*.heic;*.heif;*.avif");

const QString UnreadType =
    QStringLiteral("Pictarium ne lit pas ce type de fichier : aucune image n'est ajoutée.");
const QString UnreadFiles =
    QStringLiteral("Pictarium ne lit pas ces fichiers, qui ne sont pas ajoutés :");

bool isAddableName(const QString& path) {
    return extensionGroupOf(GetFileExtension(path)) != ExtensionGroup::Ignored;
}

}  // namespace

void MainDialog::AddPicture() {
    ContentDelivered = false;
    showBusyPointer(true);
    if (!mUi.PicTmp->holdsPicture() && !loadPendingPicture()) {
        showBusyPointer(false);
        return;
    }
    if (mUi.PicTmp->holdsPicture()) {
        mUi.PicLoad->setPicture(mUi.PicTmp->picture());
        const bool added = Base->AddBDP(mUi.PicLoad->picture(), mUi.TextDescription->text());
        if (added) {
            mUi.PicTmp->clear();
            BaseChange change;
            change.indexes = {Base->recordCount() - 1};
            recordChange(std::move(change));
        } else if (!ContentDelivered) {
            mUi.PicLoad->clear();
        }
        repaintDisplay();
    } else {
        stopBox(QStringLiteral("Pas d'image à ajouter !"));
    }
    focusTabStrip();
    showBusyPointer(false);
}

// Asks for picture files. One is read into the pending holder; several
// are added at once. False when the add ends here: nothing chosen, several
// chosen, an extension of neither group, or a file that cannot be read
// (said in a box).
bool MainDialog::loadPendingPicture() {
    const QStringList paths = ChooseImageFiles();
    if (paths.size() > 1) {
        addPictureFiles(paths);
        return false;
    }
    return !paths.isEmpty() && takePendingPicture(paths.front());
}

bool MainDialog::takePendingPicture(const QString& path) {
    PictureReading reading = readPictureFile(path);
    switch (reading.outcome) {
        case PictureReading::Outcome::Loaded:
            mUi.PicTmp->setPicture(reading.picture);
            return true;
        case PictureReading::Outcome::Refused:
            showBusyPointer(false);
            stopBox(refusalText(reading));
            return false;
        case PictureReading::Outcome::Ignored:
            // Chosen by hand, so it is said rather than ignored.
            showBusyPointer(false);
            (void)showMessage(
                {UnreadType, EngineText::Title, MessageIcon::Information, MessageButtons::Ok});
            return false;
    }
    return false;
}

// Files dropped or chosen together: those the add does not take are named
// in one box and left out; one left is added as "Ajouter" adds it, several
// in one rewrite.
void MainDialog::addPictureFiles(const QStringList& paths) {
    QStringList addable;
    QStringList leftOut;
    for (const QString& path : paths) {
        (isAddableName(path) ? addable : leftOut).append(path);
    }
    if (!leftOut.isEmpty()) {
        QStringList names;
        for (const QString& path : leftOut) {
            names.append(QFileInfo(path).fileName());
        }
        showBusyPointer(false);
        (void)showMessage(
            {UnreadFiles + QStringLiteral("\r\n") + names.join(QStringLiteral("\r\n")),
             EngineText::Title, MessageIcon::Information, MessageButtons::Ok});
    }
    if (addable.size() == 1) {
        showBusyPointer(true);
        if (takePendingPicture(addable.front())) {
            AddPicture();
        }
        return;
    }
    if (addable.size() > 1) {
        addSeveralPictures(addable);
    }
}

// Each with the description typed, or its file name when none is.
void MainDialog::addSeveralPictures(const QStringList& paths) {
    showBusyPointer(true);
    const QString typed = mUi.TextDescription->text();
    QList<NewRecord> records;
    for (const QString& path : paths) {
        PictureReading reading = readPictureFile(path);
        if (reading.outcome != PictureReading::Outcome::Loaded) {
            showBusyPointer(false);
            stopBox(refusalText(reading));
            return;
        }
        const QString text =
            hasOnlySpaces(typed) ? QFileInfo(path).completeBaseName().left(MaxTextLength) : typed;
        records.append({std::move(reading.picture), text});
    }
    const auto count = static_cast<std::int32_t>(records.size());
    if (Base->AddRecordsBDP(std::move(records))) {
        BaseChange change;
        for (std::int32_t i = Base->recordCount() - count; i < Base->recordCount(); ++i) {
            change.indexes.append(i);
        }
        recordChange(std::move(change));
    }
    repaintDisplay();
    focusTabStrip();
    showBusyPointer(false);
}

QStringList MainDialog::ChooseImageFiles() {
    QStringList paths;
    try {
        Medlg.setDialogTitle(QStringLiteral("ajouter une image..."));
        Medlg.setFlags(AddImageFlags);
        Medlg.setCancelError(true);
        Medlg.setFilterIndex(1);
        Medlg.setFilter(AddImageFilter);
        Medlg.ShowOpen();
        paths = Medlg.FileNames();
    } catch (...) {
        return {};  // Cancel included
    }
    // Let the window redraw where the box was before the picture is read.
    QApplication::processEvents();
    return paths;
}

// Picture files dragged from a file manager, while an add could be made.
QStringList MainDialog::droppedFiles(const QMimeData* data) const {
    if (mCommandsRunning > 0 || !mUi.Command1->isEnabled() || !data->hasUrls()) {
        return {};
    }
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedFiles(event->mimeData());
    if (paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    runCommand([this, paths] {
        addPictureFiles(paths);
        showBusyPointer(false);
    });
}

void MainDialog::Command14_Click() {
    try {
        // No picture on the clipboard empties the pending holder, and the
        // add then asks for a file.
        mUi.PicTmp->setPicture(QGuiApplication::clipboard()->image());
        AddPicture();
    } catch (...) {
        showBusyPointer(false);
    }
}

void MainDialog::Command15_Click() {
    if (!mUi.PicLoad->holdsPicture()) {
        return;
    }
    QGuiApplication::clipboard()->setImage(mUi.PicLoad->picture());
}

}  // namespace pictarium
