#include "catalogue/catalogue_printer.h"
#include "catalogue/french_date_p.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace pictarium::test {
namespace {

// A catalogue printed into memory, with what the PDF says of its pictures.
struct Printout {
    explicit Printout(int columns, const QList<CatalogueRecord>& records) : writer(&buffer) {
        buffer.open(QIODevice::WriteOnly);
        CataloguePrinter printer(writer, QStringLiteral("vacances.bdp"), QDate(2026, 12, 9),
                                 columns);
        EXPECT_TRUE(printer.print(records.size(), [&](qsizetype i) { return records.at(i); }));
        placements = printer.placements();
        font = printer.captionFont();
        static const QRegularExpression image(
            QStringLiteral(R"(/Subtype /Image\s+/Width (\d+)[^>]*?/Filter /(\w+))"));
        for (const auto& match : image.globalMatch(QString::fromLatin1(buffer.data()))) {
            images.append({match.captured(1).toInt(), match.captured(2) == u"DCTDecode"});
        }
    }
    QBuffer buffer;
    QPdfWriter writer;
    QList<CataloguePlacement> placements;
    QFont font;
    QList<std::pair<int, bool>> images;  // width, whether JPEG
};

QImage photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] =
                qRgb(x * 255 / width, y * 255 / height, QRandomGenerator::global()->bounded(256));
        }
    }
    return image;
}

QImage drawing(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter(&image).fillRect(width / 4, height / 4, width / 2, height / 2, Qt::red);
    return image;
}

class CataloguePages : public ::testing::TestWithParam<int> {};

// Rows stay whole and in order, a page ends only when the next row does not
// fit, and the long description gets every line it needs.
TEST_P(CataloguePages, RowsFillThePagesInOrderAndNeverSplit) {
    const int columns = GetParam();
    QList<CatalogueRecord> records;
    for (int i = 0; i < 40; ++i) {
        records.append({i + 1, QStringLiteral("Photo %1").arg(i + 1), drawing(40, 30)});
    }
    records[17].description = QString(25, u'x') + QString(23, u' ').replace(u' ', "mot long ");
    const Printout out(columns, records);
    ASSERT_EQ(out.placements.size(), records.size());
    const double pageBottom = out.writer.height();
    const auto rowBottom = [&](int first) {
        double bottom = 0;
        for (int k = first; k < std::min<int>(first + columns, records.size()); ++k) {
            bottom = std::max(bottom, out.placements[k].caption.bottom());
        }
        return bottom;
    };
    EXPECT_EQ(out.placements[0].page, 1);
    for (int i = 1; i < records.size(); ++i) {
        const CataloguePlacement& here = out.placements[i];
        EXPECT_LE(here.caption.bottom(), pageBottom) << i;
        if (i % columns != 0) {
            const CataloguePlacement& rowStart = out.placements[i - i % columns];
            EXPECT_EQ(here.page, rowStart.page) << i;
            EXPECT_DOUBLE_EQ(here.picture.top(), rowStart.picture.top()) << i;
            continue;
        }
        const double above = rowBottom(i - columns);
        const double height = rowBottom(i) - here.picture.top();
        if (here.page == out.placements[i - columns].page) {
            EXPECT_GT(here.picture.top(), above) << i;
        } else {
            EXPECT_EQ(here.page, out.placements[i - columns].page + 1) << i;
            // Left behind: less than the row, the foot and a gap need.
            EXPECT_LT(pageBottom - above, height + out.writer.logicalDpiY() * 0.6) << i;
        }
    }
    EXPECT_GT(out.placements.back().page, 1);
    const QString longCaption = QStringLiteral("18 – ") + records[17].description;
    const QFontMetricsF metrics(out.font, &out.writer);
    const CataloguePlacement& longOne = out.placements[17];
    const double lines =
        std::ceil(metrics.horizontalAdvance(longCaption) / longOne.caption.width());
    EXPECT_GE(longOne.caption.height(), lines * metrics.height() * 0.95);
}

INSTANTIATE_TEST_SUITE_P(TwoToSixColumns, CataloguePages, ::testing::Range(2, 7));

// Photos go in as JPEG, drawings without loss; each keeps 150 dpi at its
// printed size when it has the pixels, and not much more.
TEST(CataloguePictures, KeepTheirResolutionAndTheRightCompression) {
    const QList<CatalogueRecord> records = {{1, QStringLiteral("photo"), photo(1600, 1200)},
                                            {2, QStringLiteral("dessin"), drawing(1600, 1200)},
                                            {3, QStringLiteral("petite"), photo(80, 60)}};
    const Printout out(3, records);
    ASSERT_EQ(out.images.size(), records.size());
    const QList<bool> jpeg = {true, false, true};
    for (int i = 0; i < records.size(); ++i) {
        const double needed = out.placements[i].picture.width() / out.writer.logicalDpiX() * 150;
        const double expected = std::min<double>(needed, records[i].picture.width());
        EXPECT_GE(out.images[i].first, std::floor(expected)) << i;
        EXPECT_LE(out.images[i].first, expected * 1.05 + 2) << i;
        EXPECT_EQ(out.images[i].second, jpeg[i]) << i;
    }
}

// Read back by a PDF reader, the catalogue holds the title, every caption
// whole and the page numbers, page by page.
TEST(CatalogueText, APdfReaderFindsTheTitleTheCaptionsAndThePages) {
    QList<CatalogueRecord> records;
    for (int i = 0; i < 14; ++i) {
        records.append({i + 1, QStringLiteral("Étang n° %1").arg(i + 1), drawing(40, 30)});
    }
    const Printout out(2, records);
    ASSERT_GT(out.placements.back().page, 1);
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-"), QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForStarted()) << "pdftotext (poppler-utils) is needed";
    reader.write(out.buffer.data());
    reader.closeWriteChannel();
    ASSERT_TRUE(reader.waitForFinished());
    const QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\f');
    EXPECT_TRUE(pages[0].contains(QStringLiteral("vacances.bdp")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("9 décembre 2026")));
    for (const CataloguePlacement& placed : out.placements) {
        const int i = static_cast<int>(&placed - out.placements.data());
        EXPECT_TRUE(pages[placed.page - 1].contains(QStringLiteral("%1 – Étang n° %1").arg(i + 1)))
            << i;
    }
    for (int page = 1; page <= out.placements.back().page; ++page) {
        EXPECT_TRUE(pages[page - 1].contains(QStringLiteral("Page %1").arg(page))) << page;
    }
}

TEST(CatalogueTitle, DatesAreWrittenAsInFrench) {
    EXPECT_EQ(frenchLongDate(QDate(2026, 12, 9)), QStringLiteral("9 décembre 2026"));
    EXPECT_EQ(frenchLongDate(QDate(2027, 3, 1)), QStringLiteral("1er mars 2027"));
}

}  // namespace
}  // namespace pictarium::test
