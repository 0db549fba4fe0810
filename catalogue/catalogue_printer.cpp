#include "catalogue/catalogue_printer.h"

#include "catalogue/french_date_p.h"
#include "catalogue/print_picture_p.h"
#include "catalogue/wrapped_text_p.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>
#include <vector>

namespace pictarium {

namespace {

// Sizes in points, whatever the device's resolution.
constexpr double ColumnGap = 12;
constexpr double RowGap = 16;
constexpr double CaptionGap = 4;
constexpr double TitleGap = 18;
constexpr double FooterHeight = 24;
constexpr double TitleSize = 16;
constexpr double DateSize = 11;
constexpr double CaptionSize = 9;
constexpr double FooterSize = 9;
constexpr double PictureBoxRatio = 0.75;  // the box is 4:3, the usual photo

QFont fontOfSize(double points, bool bold = false) {
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The picture's place in its box: as large as it fits, centred.
QRectF fittedInto(const QRectF& box, QSize pictureSize) {
    if (pictureSize.isEmpty()) {
        return box;
    }
    const QSizeF size = QSizeF(pictureSize).scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.x() + (box.width() - size.width()) / 2,
                  box.y() + (box.height() - size.height()) / 2, size.width(), size.height());
}

QString captionOf(const CatalogueRecord& record) {
    return QStringLiteral("%1 – %2").arg(QString::number(record.position), record.description);
}

}  // namespace

// One record made ready for its row: its picture already at print size.
struct CataloguePrinter::Cell {
    QString caption;
    QImage picture;
    QSize pictureSize;  // of the record's own picture
    bool fewColours = false;
    double captionHeight = 0;
};

struct CataloguePrinter::Row {
    std::vector<Cell> cells;
    double height = 0;
};

CataloguePrinter::CataloguePrinter(QPagedPaintDevice& device, QString baseFileName, QDate date,
                                   int columns)
    : mDevice(device),
      mBaseFileName(std::move(baseFileName)),
      mDate(date),
      mColumns(std::clamp(columns, MinColumns, MaxColumns)) {}

QFont CataloguePrinter::captionFont() const {
    return fontOfSize(CaptionSize);
}

double CataloguePrinter::points(double value) const {
    return value * mDevice.logicalDpiY() / 72.0;
}

double CataloguePrinter::columnWidth() const {
    return (mDevice.width() - points(ColumnGap) * (mColumns - 1)) / mColumns;
}

double CataloguePrinter::pictureBoxHeight() const {
    return columnWidth() * PictureBoxRatio;
}

bool CataloguePrinter::print(qsizetype count, const CatalogueSource& source) {
    mPlacements.clear();
    QPainter painter;
    if (!painter.begin(&mDevice)) {
        return false;
    }
    const double pageBottom = mDevice.height() - points(FooterHeight);
    double top = drawHeading(painter);
    int page = 1;
    for (qsizetype first = 0; first < count; first += mColumns) {
        const std::optional<Row> row = takeRow(source, first, std::min(count, first + mColumns));
        if (!row) {
            painter.end();
            return false;
        }
        // A row taller than a whole page has nowhere better to go.
        if (top + row->height > pageBottom && top > 0) {
            drawFooter(painter, page);
            mDevice.newPage();
            ++page;
            top = 0;
        }
        drawRow(painter, *row, top, page);
        top += row->height + points(RowGap);
    }
    drawFooter(painter, page);
    return painter.end();
}

std::optional<CataloguePrinter::Row> CataloguePrinter::takeRow(const CatalogueSource& source,
                                                               qsizetype first,
                                                               qsizetype end) const {
    const QRectF box(0, 0, columnWidth(), pictureBoxHeight());
    const double dpiX = mDevice.logicalDpiX();
    const double dpiY = mDevice.logicalDpiY();
    Row row;
    double captionHeight = 0;
    for (qsizetype index = first; index < end; ++index) {
        std::optional<CatalogueRecord> record = source(index);
        if (!record) {
            return std::nullopt;
        }
        Cell cell;
        cell.caption = captionOf(*record);
        cell.pictureSize = record->picture.size();
        cell.fewColours = hasFewColours(record->picture);
        const QSizeF printed = fittedInto(box, cell.pictureSize).size();
        cell.picture = pictureForPrint(record->picture,
                                       QSizeF(printed.width() / dpiX, printed.height() / dpiY),
                                       PictureDotsPerInch);
        cell.captionHeight = wrappedTextHeight(cell.caption, captionFont(), box.width(), &mDevice);
        captionHeight = std::max(captionHeight, cell.captionHeight);
        row.cells.push_back(std::move(cell));
    }
    row.height = box.height() + points(CaptionGap) + captionHeight;
    return row;
}

double CataloguePrinter::drawHeading(QPainter& painter) const {
    const QFont title = fontOfSize(TitleSize, true);
    const QFont date = fontOfSize(DateSize);
    const double width = mDevice.width();
    drawWrappedText(painter, mBaseFileName, title, width, QPointF(0, 0));
    const double titleHeight = wrappedTextHeight(mBaseFileName, title, width, &mDevice);
    const QString dateText = frenchLongDate(mDate);
    drawWrappedText(painter, dateText, date, width, QPointF(0, titleHeight));
    return titleHeight + wrappedTextHeight(dateText, date, width, &mDevice) + points(TitleGap);
}

void CataloguePrinter::drawRow(QPainter& painter, const Row& row, double top, int page) {
    const double width = columnWidth();
    const double step = width + points(ColumnGap);
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
        const Cell& cell = row.cells[column];
        const QRectF box(static_cast<double>(column) * step, top, width, pictureBoxHeight());
        const QRectF picture = fittedInto(box, cell.pictureSize);
        if (cell.picture.isNull()) {
            painter.drawRect(box);
        } else {
            // The PDF writer stores pictures as JPEG unless told otherwise;
            // a drawing of few colours would come out blurred.
            painter.setRenderHint(QPainter::LosslessImageRendering, cell.fewColours);
            painter.drawImage(picture, cell.picture);
        }
        const QPointF captionAt(box.left(), box.bottom() + points(CaptionGap));
        drawWrappedText(painter, cell.caption, captionFont(), width, captionAt);
        mPlacements.append({page, picture, QRectF(captionAt, QSizeF(width, cell.captionHeight)),
                            cell.picture.size()});
    }
}

void CataloguePrinter::drawFooter(QPainter& painter, int page) const {
    painter.setFont(fontOfSize(FooterSize));
    const QRectF footer(0, mDevice.height() - points(FooterHeight), mDevice.width(),
                        points(FooterHeight));
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("Page %1").arg(page));
}

}  // namespace pictarium
