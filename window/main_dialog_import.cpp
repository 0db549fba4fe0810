// Adding pictures from files and the clipboard, and copying the one on show.

#include "window/main_dialog.h"

#include "engine/engine_texts.h"
#include "imaging/picture_reader.h"
#include "window/busy_pointer_p.h"
#include "window/description_box_p.h"
#include "window/picture_holder_p.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTabWidget>

namespace pictarium {

namespace {

constexpr int AddImageFlags = 0x28180C;  // as the open-base box, and the file must exist
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

// Asks for a picture file and reads it into the pending holder. False when
// the add ends here: nothing chosen, an extension of neither group, or a
// file that cannot be read (said in a box).
bool MainDialog::loadPendingPicture() {
    const QString path = ChooseImageFile();
    if (path.isEmpty()) {
        return false;
    }
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

QString MainDialog::ChooseImageFile() {
    QString path;
    try {
        Medlg.setDialogTitle(QStringLiteral("ajouter une image..."));
        Medlg.setFlags(AddImageFlags);
        Medlg.setCancelError(true);
        Medlg.setFilterIndex(1);
        Medlg.setFilter(AddImageFilter);
        Medlg.ShowOpen();
        path = Medlg.FileName();
    } catch (...) {
        return {};  // Cancel included
    }
    // Let the window redraw where the box was before the picture is read.
    QApplication::processEvents();
    return path;
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
