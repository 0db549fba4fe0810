#include "imaging/metafile/emf_piecewise_stroke_p.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

namespace pictarium::test {

namespace {

using emf::strokeInPieces;

constexpr int Side = 240;

QImage stroked(const QPainterPath& path, const QPen& pen, bool inPieces) {
    QImage picture(Side, Side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (inPieces) {
        strokeInPieces(painter, path, pen);
    } else {
        painter.setPen(pen);
        painter.drawPath(path);
    }
    return picture;
}

bool farApart(QRgb a, QRgb b) {
    constexpr int Tolerance = 64;
    return std::abs(qRed(a) - qRed(b)) > Tolerance || std::abs(qGreen(a) - qGreen(b)) > Tolerance ||
           std::abs(qBlue(a) - qBlue(b)) > Tolerance;
}

struct Comparison {
    int inked = 0;
    int differing = 0;
};

Comparison compare(const QImage& whole, const QImage& pieces) {
    Comparison result;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            result.inked += whole.pixel(x, y) != 0xFFFFFFFF ? 1 : 0;
            result.differing += farApart(whole.pixel(x, y), pieces.pixel(x, y)) ? 1 : 0;
        }
    }
    return result;
}

// An open zigzag of right-angled turns, long enough to be drawn in pieces,
// and a closed outline with sharper corners.
QPainterPath figures() {
    QPainterPath path(QPointF(20, 60));
    for (int i = 1; i <= 10; ++i) {
        path.lineTo(20 + i * 20, i % 2 == 0 ? 60 : 20);
    }
    path.moveTo(40, 120);
    path.lineTo(200, 110);
    path.lineTo(180, 220);
    path.lineTo(120, 150);
    path.lineTo(60, 215);
    path.closeSubpath();
    return path;
}

}  // namespace

TEST(EmfPiecewiseStrokeTest, piecesCoverWhatTheWholeStrokeCovers) {
    const QPainterPath path = figures();
    for (const Qt::PenJoinStyle join : {Qt::RoundJoin, Qt::BevelJoin, Qt::MiterJoin}) {
        for (const Qt::PenCapStyle cap : {Qt::FlatCap, Qt::SquareCap, Qt::RoundCap}) {
            QPen pen(QBrush(QColor(0, 60, 160)), 9, Qt::SolidLine, cap, join);
            pen.setMiterLimit(4);
            const Comparison result = compare(stroked(path, pen, false), stroked(path, pen, true));
            EXPECT_GT(result.inked, 3000);
            EXPECT_LT(result.differing, result.inked / 100) << "join " << join << ", cap " << cap;
        }
    }
}

}  // namespace pictarium::test
