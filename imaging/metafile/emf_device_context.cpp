#include "imaging/metafile/emf_device_context_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

constexpr double MmPerInch = 25.4;

bool hasFreeExtents(MapMode mode) {
    return mode == MapMode::Isotropic || mode == MapMode::Anisotropic;
}

bool isUsableExtent(QPointF extent) {
    return extent.x() != 0 && extent.y() != 0 && std::isfinite(extent.x()) &&
           std::isfinite(extent.y());
}

}  // namespace

DeviceContext::DeviceContext() {
    font.height = 16;
    font.faceName = QStringLiteral("Sans Serif");
}

void DeviceContext::setMapMode(std::uint32_t mode, QPointF pixelsPerMm) {
    const QPointF upwards(pixelsPerMm.x(), -pixelsPerMm.y());
    switch (mode) {
        case 1:
            windowExtent = viewportExtent = QPointF(1, 1);
            break;
        case 2:
        case 7:
            windowExtent = QPointF(10, 10);
            viewportExtent = upwards;
            break;
        case 3:
            windowExtent = QPointF(100, 100);
            viewportExtent = upwards;
            break;
        case 4:
            windowExtent = QPointF(100, 100);
            viewportExtent = upwards * MmPerInch;
            break;
        case 5:
            windowExtent = QPointF(1000, 1000);
            viewportExtent = upwards * MmPerInch;
            break;
        case 6:
            windowExtent = QPointF(1440, 1440);
            viewportExtent = upwards * MmPerInch;
            break;
        case 8:
            break;  // keeps the extents of the mode before
        default:
            return;
    }
    mapMode = static_cast<MapMode>(mode);
}

void DeviceContext::setWindowExtent(QPointF extent) {
    if (hasFreeExtents(mapMode) && isUsableExtent(extent)) {
        windowExtent = extent;
    }
}

void DeviceContext::setViewportExtent(QPointF extent) {
    if (hasFreeExtents(mapMode) && isUsableExtent(extent)) {
        viewportExtent = extent;
    }
}

QTransform DeviceContext::logicalToDevice() const {
    double scaleX = viewportExtent.x() / windowExtent.x();
    double scaleY = viewportExtent.y() / windowExtent.y();
    if (mapMode == MapMode::Isotropic) {
        // The same scale both ways: the smaller one, signs kept.
        const double scale = std::min(std::abs(scaleX), std::abs(scaleY));
        scaleX = std::copysign(scale, scaleX);
        scaleY = std::copysign(scale, scaleY);
    }
    const QTransform page = QTransform::fromTranslate(-windowOrigin.x(), -windowOrigin.y()) *
                            QTransform::fromScale(scaleX, scaleY) *
                            QTransform::fromTranslate(viewportOrigin.x(), viewportOrigin.y());
    return world * page;
}

}  // namespace pictarium::emf
