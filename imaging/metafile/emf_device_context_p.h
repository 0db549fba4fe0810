#pragma once

#include "imaging/metafile/emf_objects_p.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QTransform>

#include <cstdint>
#include <optional>

namespace pictarium::emf {

enum class MapMode : std::uint32_t {
    Text = 1,
    LowMetric = 2,
    HighMetric = 3,
    LowEnglish = 4,
    HighEnglish = 5,
    Twips = 6,
    Isotropic = 7,
    Anisotropic = 8,
};

// Text alignment bits.
namespace TextAlign {
inline constexpr std::uint32_t UpdateCurrentPosition = 1;
inline constexpr std::uint32_t Right = 2;
inline constexpr std::uint32_t Centre = 6;
inline constexpr std::uint32_t Bottom = 8;
inline constexpr std::uint32_t Baseline = 24;
}  // namespace TextAlign

// Everything a saved device context brings back on restore.
struct DeviceContext {
    MapMode mapMode = MapMode::Text;
    QPointF windowOrigin;
    QPointF windowExtent{1, 1};
    QPointF viewportOrigin;
    QPointF viewportExtent{1, 1};
    QTransform world;

    LogicalPen pen;
    LogicalBrush brush;
    LogicalFont font;

    QColor textColour = Qt::black;
    QColor backgroundColour = Qt::white;
    bool opaqueBackground = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    bool clockwiseArcs = false;
    std::uint32_t textAlign = 0;
    std::uint32_t mixMode = 13;  // copy the pen
    bool smoothStretch = false;
    double miterLimit = 10;

    QPointF currentPosition;           // logical units
    std::optional<QPainterPath> clip;  // bitmap pixels; none: the whole bitmap

    DeviceContext();

    // Sets the mapping mode, with the window and viewport extents the
    // fixed modes imply; `pixelsPerMm` is the recording device's.
    void setMapMode(std::uint32_t mode, QPointF pixelsPerMm);
    // Extents set by records count only where the mode lets them.
    void setWindowExtent(QPointF extent);
    void setViewportExtent(QPointF extent);

    // From logical units to the recording device's pixels.
    [[nodiscard]] QTransform logicalToDevice() const;
};

}  // namespace pictarium::emf
