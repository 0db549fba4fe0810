#pragma once

#include "imaging/core/byte_reader.h"
#include "imaging/metafile/emfplus_line_caps_p.h"

#include <QBrush>
#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>

namespace pictarium::emfplus {

// Units of measure of the page, pens and fonts.
enum class Unit : std::uint32_t {
    World = 0,
    Display = 1,
    Pixel = 2,
    Point = 3,
    Inch = 4,
    Document = 5,
    Millimetre = 6,
};

// How many device pixels one unit is, at `dpi` dots per inch; world and
// display units count as pixels.
[[nodiscard]] double pixelsPerUnit(std::uint32_t unit, double dpi);

// A float as the records store it; 0 when it is not finite.
[[nodiscard]] double readFinite(ByteReader& reader);

// A matrix as the records store it; none when a value is not finite.
[[nodiscard]] std::optional<QTransform> readMatrix(ByteReader& reader);

// A colour as the records store it: blue, green, red, alpha.
[[nodiscard]] QColor argbColour(std::uint32_t value);

// A brush in world coordinates: its gradients and textures follow the
// world transform, its hatches stay in device pixels as GDI+ draws them.
struct Brush {
    Brush() = default;
    Brush(const QBrush& paint, bool transformed, std::optional<QPainterPath> within = std::nullopt)
        : brush(paint), followsTransform(transformed), area(std::move(within)) {}

    QBrush brush;
    bool followsTransform = false;
    std::optional<QPainterPath> area;  // where it paints, when not everywhere
};

struct Pen {
    Brush brush;
    double width = 1;  // in its unit
    std::uint32_t unit = 0;
    Qt::PenStyle style = Qt::SolidLine;
    QList<qreal> dashes;  // in pen widths
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    double miterLimit = 10;
    std::optional<LineCap> startCap;  // custom caps, drawn as shapes of their own
    std::optional<LineCap> endCap;
};

struct Font {
    double emSize = 12;
    std::uint32_t unit = 3;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString family;
};

// A region as a path; `infinite` for the region that covers everything.
struct Region {
    QPainterPath area;
    bool infinite = false;
};

struct StringFormat {
    int horizontal = 0;  // 0 near, 1 centre, 2 far
    int vertical = 0;
};

// An image object that holds a metafile: its bytes as read and, once the
// player has drawn them, its last picture on a transparent background.
struct MetafileImage {
    QByteArray bytes;
    bool enhanced = true;  // EMF or EMF+; otherwise WMF, placeable or not
    QImage picture;
};

using Object = std::variant<std::monostate, Brush, Pen, QPainterPath, Region, QImage, MetafileImage,
                            Font, StringFormat>;

// Reads an object record's data by its type (the record's flags); an
// object of a type not drawn here is empty. Throws MalformedPicture on
// data too short for what it claims.
[[nodiscard]] Object readObject(std::uint32_t type, QByteArrayView data);

// A path object's data; also the paths inside regions.
[[nodiscard]] QPainterPath readPath(QByteArrayView data);

// A brush object's data.
[[nodiscard]] Brush readBrush(QByteArrayView data);

}  // namespace pictarium::emfplus
