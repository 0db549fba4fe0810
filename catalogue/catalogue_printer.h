#pragma once

#include "catalogue/catalogue_record.h"

#include <QDate>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace pictarium {

// Where one record went on the printed pages, in device units.
struct CataloguePlacement {
    int page = 0;  // 1-based
    QRectF picture;
    QRectF caption;
    QSize storedPixels;  // the size the picture was handed to the device at
};

// Prints a catalogue: a title with the base's file name and the date, then
// each record's picture with its position and full description under it,
// in rows of 2 to 6 columns that never split across pages, and the page
// numbers at the foot.
class CataloguePrinter {
public:
    static constexpr int MinColumns = 2;
    static constexpr int MaxColumns = 6;
    static constexpr int DefaultColumns = 3;
    // The resolution pictures keep at their printed size, when they have it.
    static constexpr double PictureDotsPerInch = 150.0;

    // `columns` is brought within MinColumns..MaxColumns.
    CataloguePrinter(QPagedPaintDevice& device, QString baseFileName, QDate date, int columns);

    // Prints `count` records taken from `source`; false when the device
    // cannot be painted on or the source stops early.
    [[nodiscard]] bool print(qsizetype count, const CatalogueSource& source);

    [[nodiscard]] const QList<CataloguePlacement>& placements() const { return mPlacements; }
    [[nodiscard]] QFont captionFont() const;

private:
    struct Cell;
    struct Row;

    [[nodiscard]] double points(double value) const;
    [[nodiscard]] double columnWidth() const;
    [[nodiscard]] double pictureBoxHeight() const;
    [[nodiscard]] std::optional<Row> takeRow(const CatalogueSource& source, qsizetype first,
                                             qsizetype end) const;
    [[nodiscard]] double drawHeading(QPainter& painter) const;
    void drawRow(QPainter& painter, const Row& row, double top, int page);
    void drawFooter(QPainter& painter, int page) const;

    QPagedPaintDevice& mDevice;
    QString mBaseFileName;
    QDate mDate;
    int mColumns;
    QList<CataloguePlacement> mPlacements;
};

}  // namespace pictarium
