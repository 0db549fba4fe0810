#include "imaging/metafile/emfplus_path_gradient_p.h"

#include <QImage>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace pictarium::emfplus {

namespace {

// The shading is drawn as a picture, blended between its pixels: smooth
// colours need few of them. Each pixel looks through the corners, so the
// two together are bounded, which keeps a file of many such brushes quick.
constexpr double LongestSide = 128;
constexpr qsizetype MostCorners = 128;
constexpr double MostPixelCorners = 1 << 20;

// The weights of the corners `centre`, `a` and `b` at `point`; none for a
// flat triangle.
std::optional<std::array<double, 3>> weightsAt(QPointF point, QPointF centre, QPointF a,
                                               QPointF b) {
    const QPointF toA = a - centre;
    const QPointF toB = b - centre;
    const QPointF toPoint = point - centre;
    const double area = toA.x() * toB.y() - toB.x() * toA.y();
    if (std::abs(area) < 1e-12) {
        return std::nullopt;
    }
    const double wa = (toPoint.x() * toB.y() - toB.x() * toPoint.y()) / area;
    const double wb = (toA.x() * toPoint.y() - toPoint.x() * toA.y()) / area;
    return std::array<double, 3>{1 - wa - wb, wa, wb};
}

QRgb blend(const std::array<double, 3>& weights, const std::array<QColor, 3>& colours) {
    double channels[4] = {};
    double total = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const double weight = std::max(0.0, weights[i]);  // points past an edge take the edge
        total += weight;
        channels[0] += weight * colours[i].red();
        channels[1] += weight * colours[i].green();
        channels[2] += weight * colours[i].blue();
        channels[3] += weight * colours[i].alpha();
    }
    const auto channel = [total](double value) {
        return std::clamp(static_cast<int>(std::lround(value / total)), 0, 255);
    };
    return qRgba(channel(channels[0]), channel(channels[1]), channel(channels[2]),
                 channel(channels[3]));
}

// The colour at `point`: from the triangle that holds it, or, outside
// them all, from the one it is nearest to lying in.
QRgb colourAt(QPointF point, QPointF centre, const QColor& centreColour, const QPolygonF& corners,
              const QList<QColor>& colours) {
    double bestLeast = -std::numeric_limits<double>::infinity();
    std::array<double, 3> bestWeights = {1, 0, 0};
    qsizetype bestSide = 0;
    for (qsizetype i = 0; i < corners.size(); ++i) {
        const qsizetype next = (i + 1) % corners.size();
        const auto weights = weightsAt(point, centre, corners[i], corners[next]);
        if (!weights) {
            continue;
        }
        const double least = std::min({(*weights)[0], (*weights)[1], (*weights)[2]});
        if (least > bestLeast) {
            bestLeast = least;
            bestWeights = *weights;
            bestSide = i;
        }
        if (least >= 0) {
            break;
        }
    }
    const qsizetype next = (bestSide + 1) % corners.size();
    return blend(bestWeights, {centreColour, colours[bestSide], colours[next]});
}

}  // namespace

Brush shadedPathGradient(QPointF centre, const QColor& centreColour, const QPolygonF& boundary,
                         const QList<QColor>& surrounding, const QPainterPath& area) {
    const Brush plain{QBrush(centreColour), false, area};
    if (boundary.size() < 2 || surrounding.isEmpty()) {
        return plain;
    }
    const qsizetype step = (boundary.size() + MostCorners - 1) / MostCorners;
    QPolygonF corners;
    QList<QColor> colours;
    for (qsizetype i = 0; i < boundary.size(); i += step) {
        corners.append(boundary[i]);
        colours.append(surrounding[std::min(i, surrounding.size() - 1)]);
    }
    const QRectF box = corners.boundingRect().united(QRectF(centre, QSizeF(0, 0)));
    if (!(box.width() > 0 && box.height() > 0)) {
        return plain;
    }
    const double longest = std::max(box.width(), box.height());
    const double side =
        std::min(LongestSide, std::sqrt(MostPixelCorners / static_cast<double>(corners.size())));
    const int width = std::max(1, static_cast<int>(std::lround(side * box.width() / longest)));
    const int height = std::max(1, static_cast<int>(std::lround(side * box.height() / longest)));
    QImage shading(width, height, QImage::Format_ARGB32);
    const double xStep = box.width() / width;
    const double yStep = box.height() / height;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shading.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QPointF point(box.left() + (x + 0.5) * xStep, box.top() + (y + 0.5) * yStep);
            row[x] = colourAt(point, centre, centreColour, corners, colours);
        }
    }
    QBrush brush(shading);
    brush.setTransform(QTransform::fromScale(xStep, yStep) *
                       QTransform::fromTranslate(box.left(), box.top()));
    return Brush{brush, true, area};
}

}  // namespace pictarium::emfplus
