#include "imaging/metafile/emf_objects_p.h"

namespace pictarium::emf {

namespace {

LogicalBrush solidBrush(QColor colour) {
    LogicalBrush brush;
    brush.colour = colour;
    return brush;
}

LogicalPen solidPen(QColor colour) {
    LogicalPen pen;
    pen.colour = colour;
    return pen;
}

LogicalFont stockFont(const char* family) {
    LogicalFont font;
    font.height = 16;
    font.faceName = QString::fromLatin1(family);
    return font;
}

}  // namespace

std::variant<std::monostate, LogicalPen, LogicalBrush, LogicalFont> stockObject(
    std::uint32_t index) {
    switch (index & 0x7FFFFFFFu) {
        case 0:
            return solidBrush(QColor(255, 255, 255));
        case 1:
            return solidBrush(QColor(192, 192, 192));
        case 2:
            return solidBrush(QColor(128, 128, 128));
        case 3:
            return solidBrush(QColor(64, 64, 64));
        case 4:
            return solidBrush(QColor(0, 0, 0));
        case 5: {
            LogicalBrush hollow;
            hollow.kind = LogicalBrush::Kind::Hollow;
            return hollow;
        }
        case 6:
            return solidPen(QColor(255, 255, 255));
        case 7:
            return solidPen(QColor(0, 0, 0));
        case 8: {
            LogicalPen none;
            none.style = PenStyle::Null;
            return none;
        }
        case 10:
        case 11:
        case 16:
            return stockFont("Monospace");
        case 12:
        case 13:
        case 14:
        case 17:
            return stockFont("Sans Serif");
        case 18:  // the DC brush, white until set
            return solidBrush(QColor(255, 255, 255));
        case 19:  // the DC pen, black until set
            return solidPen(QColor(0, 0, 0));
        default:
            return std::monostate{};
    }
}

}  // namespace pictarium::emf
