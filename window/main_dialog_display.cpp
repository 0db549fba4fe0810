// The record on show: its picture scaled into the display box and its
// description.

#include "window/main_dialog.h"

#include "window/description_box_p.h"
#include "window/display_box_p.h"
#include "window/display_geometry_p.h"
#include "window/picture_holder_p.h"

#include <QPainter>
#include <QPushButton>

namespace pictarium {

void MainDialog::Base_GetContent(const QImage& Ipic, const QString& iText) {
    ContentDelivered = true;
    mUi.PicLoad->setPicture(Ipic);
    mUi.TextDescription->setText(iText);
    mUi.TextDescription->setToolTip(iText);
    repaintDisplay();
    // No picture, as for an empty base: the close button waits for one.
    mUi.Command13->setEnabled(!Ipic.isNull());
}

// Where the record shown stands in the base, for the eye and for a screen
// reader.
void MainDialog::showPosition() {
    const std::int32_t count = Base ? Base->recordCount() : 0;
    const std::int32_t index = Base ? Base->currentIndex() : -1;
    const bool shown = Base && Base->isBaseOpen() && mUi.PicLoad->holdsPicture() && index >= 0;
    const QString position =
        shown ? QStringLiteral("Enregistrement %1 sur %2").arg(index + 1).arg(count)
              : QStringLiteral("Aucun enregistrement affiché");
    mUi.PicShow->setToolTip(position);
    mUi.PicShow->setAccessibleDescription(position);
    updateViewer();
    updateContactSheet();
}

void MainDialog::repaintDisplay() {
    mUi.PicShow->repaint();
}

void MainDialog::PicShow_Paint(QPainter& painter) {
    // The box clears itself to white before every paint.
    if (!mUi.PicLoad->holdsPicture()) {
        return;
    }
    const QImage& picture = mUi.PicLoad->picture();
    const QSize inside = mUi.PicShow->contentsRect().size();
    DisplayWidth = inside.width();
    DisplayHeight = inside.height();
    // The picture's natural size, through the HIMETRIC size pictures report.
    const double dpiX = mUi.PicShow->logicalDpiX();
    const double dpiY = mUi.PicShow->logicalDpiY();
    PictureWidth = himetricToPixels(pixelsToHimetric(picture.width(), dpiX), dpiX);
    PictureHeight = himetricToPixels(pixelsToHimetric(picture.height(), dpiY), dpiY);
    FitPicture(PictureWidth, PictureHeight, DisplayWidth, DisplayHeight, DisplayLeft, DisplayTop);
    painter.drawImage(QRect(DisplayLeft, DisplayTop, DisplayWidth, DisplayHeight), picture,
                      QRect(0, 0, PictureWidth, PictureHeight));
}

QRect MainDialog::drawnPictureRect() const {
    return {DisplayLeft, DisplayTop, DisplayWidth, DisplayHeight};
}

}  // namespace pictarium
