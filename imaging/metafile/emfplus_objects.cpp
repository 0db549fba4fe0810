#include "imaging/metafile/emfplus_objects_p.h"

#include "imaging/core/byte_reader.h"
#include "imaging/metafile/emf_styles_p.h"
#include "imaging/metafile/emfplus_path_gradient_p.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

namespace pictarium::emfplus {

namespace {

namespace ObjectType {
enum : std::uint32_t {
    Brush = 1,
    Pen = 2,
    Path = 3,
    Region = 4,
    Image = 5,
    Font = 6,
    StringFormat = 7,
};
}

constexpr std::uint32_t CompressedPoints = 0x4000;
constexpr std::uint32_t RelativePoints = 0x0800;
constexpr int MaxRegionDepth = 64;

float f32(ByteReader& reader) {
    return std::bit_cast<float>(reader.u32le());
}

QPointF point(ByteReader& reader) {
    const double x = readFinite(reader);
    return QPointF(x, readFinite(reader));
}

// GDI+ numbers its first six hatches as GDI does; its many dotted and
// woven ones are drawn as a dense dotted pattern.
Qt::BrushStyle hatchOf(std::uint32_t style) {
    return style <= 5 ? emf::hatchStyle(style) : Qt::Dense4Pattern;
}

QPainterPath pathAt(ByteReader& reader);

QImage readBitmap(ByteReader& reader) {
    const std::uint32_t width = reader.u32le();
    const std::uint32_t height = reader.u32le();
    const std::uint32_t stride = reader.u32le();
    const std::uint32_t format = reader.u32le();
    const std::uint32_t kind = reader.u32le();
    const QByteArrayView pixels = reader.take(reader.remaining());
    if (kind == 1) {  // compressed: PNG, JPEG, GIF...
        QImage image = QImage::fromData(pixels);
        return image;
    }
    const bool withAlpha = format == 0x0026200A;
    const bool premultiplied = format == 0x000E200B;
    const bool rgb32 = format == 0x00022009;
    const bool rgb24 = format == 0x00021808;
    const std::uint32_t bytesPerPixel = rgb24 ? 3 : 4;
    if (!(withAlpha || premultiplied || rgb32 || rgb24) || width == 0 || height == 0 ||
        !isWithinPixelLimit(width, height) || stride < std::uint64_t{width} * bytesPerPixel ||
        std::uint64_t{stride} * height > static_cast<std::uint64_t>(pixels.size())) {
        return {};
    }
    QImage image(static_cast<int>(width), static_cast<int>(height),
                 premultiplied ? QImage::Format_ARGB32_Premultiplied
                               : (withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32));
    if (image.isNull()) {
        return {};
    }
    for (std::uint32_t y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint8_t*>(pixels.data()) + qsizetype{y} * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (std::uint32_t x = 0; x < width; ++x, row += bytesPerPixel) {
            const int alpha = bytesPerPixel == 4 && !rgb32 ? row[3] : 255;
            out[x] = qRgba(row[2], row[1], row[0], alpha);
        }
    }
    return image;
}

// An image's data after its version: a bitmap or a metafile.
Object imageAt(ByteReader& reader) {
    constexpr std::uint32_t Bitmap = 1;
    constexpr std::uint32_t Metafile = 2;
    constexpr std::uint32_t PlaceableWmf = 2;
    (void)reader.u32le();  // version
    const std::uint32_t type = reader.u32le();
    if (type == Bitmap) {
        return readBitmap(reader);
    }
    if (type != Metafile) {
        return std::monostate{};
    }
    const std::uint32_t kind = reader.u32le();
    const std::uint32_t size = reader.u32le();
    requireValid(kind >= 1 && kind <= 5 && size <= static_cast<std::uint64_t>(reader.remaining()));
    // GDI+ leaves the placeable header of a WMF out of the size it gives:
    // the metafile runs to the object's end, where its own header says.
    const QByteArrayView bytes = reader.take(reader.remaining());
    return MetafileImage{QByteArray(bytes.data(), bytes.size()), kind > PlaceableWmf, QImage()};
}

// A path gradient: its centre, the colours around it and its boundary,
// points or a path.
Brush pathGradient(ByteReader& reader) {
    const std::uint32_t flags = reader.u32le();
    (void)reader.u32le();  // wrap mode
    const QColor centreColour = argbColour(reader.u32le());
    const QPointF centre = point(reader);
    const std::uint32_t count = reader.u32le();
    requireValid(count >= 1 && count <= static_cast<std::uint64_t>(reader.remaining() / 4));
    QList<QColor> surrounding;
    for (std::uint32_t i = 0; i < count; ++i) {
        surrounding.append(argbColour(reader.u32le()));
    }
    QPolygonF boundary;
    QPainterPath area;
    if (flags & 0x01) {
        const std::uint32_t size = reader.u32le();
        ByteReader path(reader.take(size));
        area = pathAt(path);
        // Several colours go to the path's own points, one to all of its outline.
        if (surrounding.size() > 1) {
            for (int i = 0; i < area.elementCount(); ++i) {
                boundary.append(QPointF(area.elementAt(i)));
            }
        } else {
            boundary = area.toFillPolygon();
        }
    } else {
        const std::uint32_t points = reader.u32le();
        requireValid(points <= static_cast<std::uint64_t>(reader.remaining() / 8));
        for (std::uint32_t i = 0; i < points; ++i) {
            boundary.append(point(reader));
        }
        area.addPolygon(boundary);
        area.closeSubpath();
    }
    return shadedPathGradient(centre, centreColour, boundary, surrounding, area);
}

Brush readBrushAt(ByteReader& reader) {
    (void)reader.u32le();  // version
    const std::uint32_t type = reader.u32le();
    switch (type) {
        case 0:
            return Brush{QBrush(argbColour(reader.u32le())), false};
        case 1: {
            const std::uint32_t style = reader.u32le();
            return Brush{QBrush(argbColour(reader.u32le()), hatchOf(style)), false};
        }
        case 2: {  // texture: its image tiles the world
            const std::uint32_t flags = reader.u32le();
            (void)reader.u32le();  // wrap mode
            const std::optional<QTransform> placing =
                (flags & 0x02) ? readMatrix(reader) : std::optional(QTransform());
            const Object object = imageAt(reader);
            const auto* image = std::get_if<QImage>(&object);
            if (image == nullptr || image->isNull()) {
                return Brush{QBrush(QColor(128, 128, 128)), false};
            }
            QBrush texture(*image);
            texture.setTransform(placing.value_or(QTransform()));
            return Brush{texture, true};
        }
        case 3:
            return pathGradient(reader);
        case 4: {
            reader.skip(8);  // flags, wrap mode
            const QPointF topLeft = point(reader);
            const QPointF size = point(reader);
            const QColor start = argbColour(reader.u32le());
            const QColor end = argbColour(reader.u32le());
            QLinearGradient gradient(topLeft, QPointF(topLeft.x() + size.x(), topLeft.y()));
            gradient.setColorAt(0, start);
            gradient.setColorAt(1, end);
            return Brush{QBrush(gradient), true};
        }
        default:
            return Brush{Qt::NoBrush, false};
    }
}

Qt::PenCapStyle capOf(std::int32_t cap) {
    switch (cap) {
        case 1:
            return Qt::SquareCap;
        case 2:
            return Qt::RoundCap;
        default:
            return Qt::FlatCap;
    }
}

Qt::PenJoinStyle joinOf(std::uint32_t join) {
    switch (join) {
        case 1:
            return Qt::BevelJoin;
        case 2:
            return Qt::RoundJoin;
        default:
            return Qt::MiterJoin;
    }
}

Qt::PenStyle lineStyleOf(std::int32_t style) {
    switch (style) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        case 5:
            return Qt::CustomDashLine;
        default:
            return Qt::SolidLine;
    }
}

// The optional fields of a pen, each present when its flag is set.
Pen readPen(ByteReader& reader) {
    (void)reader.u32le();  // version
    (void)reader.u32le();  // type
    const std::uint32_t flags = reader.u32le();
    Pen pen;
    pen.unit = reader.u32le();
    pen.width = std::abs(readFinite(reader));
    if (flags & 0x1) {
        reader.skip(24);  // a transform of the pen itself
    }
    if (flags & 0x2) {
        pen.cap = capOf(static_cast<std::int32_t>(reader.u32le()));
    }
    if (flags & 0x4) {
        (void)reader.u32le();  // end cap: Qt has one cap for both ends
    }
    if (flags & 0x8) {
        pen.join = joinOf(reader.u32le());
    }
    if (flags & 0x10) {
        pen.miterLimit = std::clamp(readFinite(reader), 1.0, 100.0);
    }
    if (flags & 0x20) {
        pen.style = lineStyleOf(static_cast<std::int32_t>(reader.u32le()));
    }
    if (flags & 0x40) {
        (void)reader.u32le();  // dash cap
    }
    if (flags & 0x80) {
        (void)reader.u32le();  // dash offset
    }
    if (flags & 0x100) {
        const std::uint32_t count = reader.u32le();
        requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / 4));
        for (std::uint32_t i = 0; i < count; ++i) {
            pen.dashes.append(std::max(0.01, std::abs(readFinite(reader))));
        }
        if (pen.dashes.size() % 2 != 0) {
            pen.dashes.append(pen.dashes.last());
        }
        pen.style = pen.dashes.isEmpty() ? Qt::SolidLine : Qt::CustomDashLine;
    }
    if (flags & 0x200) {
        (void)reader.u32le();  // alignment
    }
    if (flags & 0x400) {
        const std::uint32_t count = reader.u32le();
        requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / 4));
        reader.skip(4 * qsizetype{count});
    }
    for (const std::uint32_t customCap : {0x800u, 0x1000u}) {
        if (flags & customCap) {
            const std::uint32_t size = reader.u32le();
            requireValid(size <= static_cast<std::uint64_t>(reader.remaining()));
            std::optional<LineCap> cap = readLineCap(reader.take(size));
            (customCap == 0x800u ? pen.startCap : pen.endCap) = std::move(cap);
        }
    }
    pen.brush = readBrushAt(reader);
    return pen;
}

QPainterPath pathAt(ByteReader& reader) {
    (void)reader.u32le();  // version
    const std::uint32_t count = reader.u32le();
    const std::uint32_t flags = reader.u32le();
    if (flags & RelativePoints) {
        return {};  // relative points: written by no program seen
    }
    const qsizetype pointBytes = (flags & CompressedPoints) ? 4 : 8;
    requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / (pointBytes + 1)));
    QList<QPointF> points;
    points.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (flags & CompressedPoints) {
            const auto x = static_cast<std::int16_t>(reader.u16le());
            points.append(QPointF(x, static_cast<std::int16_t>(reader.u16le())));
        } else {
            points.append(point(reader));
        }
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t type = reader.u8();
        const std::uint8_t kind = type & 0x07;
        if (kind == 0 || path.elementCount() == 0) {
            path.moveTo(points[i]);
        } else if (kind == 3 && i + 2 < count) {
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
            // The two points after the first of a Bézier are its own.
            const std::uint8_t last = reader.u8();
            (void)reader.u8();
            i += 2;
            if (last & 0x80) {
                path.closeSubpath();
            }
            continue;
        } else {
            path.lineTo(points[i]);
        }
        if (type & 0x80) {
            path.closeSubpath();
        }
    }
    return path;
}

QPainterPath regionNode(ByteReader& reader, int depth, bool& infinite) {
    requireValid(depth < MaxRegionDepth);
    const std::uint32_t type = reader.u32le();
    switch (type) {
        case 0x10000000: {  // rectangle
            const QPointF topLeft = point(reader);
            const QPointF size = point(reader);
            QPainterPath path;
            path.addRect(QRectF(topLeft, QSizeF(size.x(), size.y())));
            return path;
        }
        case 0x10000001: {  // path
            const std::uint32_t size = reader.u32le();
            ByteReader inner(reader.take(size));
            return pathAt(inner);
        }
        case 0x10000002:  // empty
            return {};
        case 0x10000003:  // infinite
            infinite = true;
            return {};
        default:
            break;
    }
    bool leftInfinite = false;
    bool rightInfinite = false;
    const QPainterPath left = regionNode(reader, depth + 1, leftInfinite);
    const QPainterPath right = regionNode(reader, depth + 1, rightInfinite);
    switch (type) {
        case 1:  // and
            infinite = leftInfinite && rightInfinite;
            return leftInfinite ? right : (rightInfinite ? left : left.intersected(right));
        case 2:  // or
            infinite = leftInfinite || rightInfinite;
            return left.united(right);
        case 4:  // exclude
            return leftInfinite ? right : left.subtracted(right);
        case 5:  // complement
            return rightInfinite ? right : right.subtracted(left);
        default:  // xor
            return left.united(right).subtracted(left.intersected(right));
    }
}

Font readFont(ByteReader& reader) {
    (void)reader.u32le();  // version
    Font font;
    font.emSize = std::abs(readFinite(reader));
    font.unit = reader.u32le();
    const std::uint32_t style = reader.u32le();
    font.bold = (style & 1) != 0;
    font.italic = (style & 2) != 0;
    font.underline = (style & 4) != 0;
    font.strikeOut = (style & 8) != 0;
    (void)reader.u32le();  // reserved
    const std::uint32_t length = reader.u32le();
    requireValid(length <= static_cast<std::uint64_t>(reader.remaining() / 2));
    for (std::uint32_t i = 0; i < length; ++i) {
        font.family.append(QChar(static_cast<char16_t>(reader.u16le())));
    }
    return font;
}

StringFormat readStringFormat(ByteReader& reader) {
    reader.skip(12);  // version, flags, language
    StringFormat format;
    format.horizontal = static_cast<int>(std::min<std::uint32_t>(reader.u32le(), 2));
    format.vertical = static_cast<int>(std::min<std::uint32_t>(reader.u32le(), 2));
    return format;
}

}  // namespace

double pixelsPerUnit(std::uint32_t unit, double dpi) {
    switch (static_cast<Unit>(unit)) {
        case Unit::Point:
            return dpi / 72;
        case Unit::Inch:
            return dpi;
        case Unit::Document:
            return dpi / 300;
        case Unit::Millimetre:
            return dpi / 25.4;
        default:
            return 1;
    }
}

double readFinite(ByteReader& reader) {
    const float value = f32(reader);
    return std::isfinite(value) ? value : 0.0;
}

std::optional<QTransform> readMatrix(ByteReader& reader) {
    double values[6];
    for (double& value : values) {
        const float raw = f32(reader);
        if (!std::isfinite(raw)) {
            return std::nullopt;
        }
        value = raw;
    }
    return QTransform(values[0], values[1], values[2], values[3], values[4], values[5]);
}

QColor argbColour(std::uint32_t value) {
    return QColor::fromRgba(value);  // blue, green, red, alpha bytes: 0xAARRGGBB
}

QPainterPath readPath(QByteArrayView data) {
    ByteReader reader(data);
    return pathAt(reader);
}

Brush readBrush(QByteArrayView data) {
    ByteReader reader(data);
    return readBrushAt(reader);
}

Object readObject(std::uint32_t type, QByteArrayView data) {
    ByteReader reader(data);
    switch (type) {
        case ObjectType::Brush:
            return readBrushAt(reader);
        case ObjectType::Pen:
            return readPen(reader);
        case ObjectType::Path:
            return pathAt(reader);
        case ObjectType::Region: {
            reader.skip(8);  // version, node count
            Region region;
            region.area = regionNode(reader, 0, region.infinite);
            return region;
        }
        case ObjectType::Image:
            return imageAt(reader);
        case ObjectType::Font:
            return readFont(reader);
        case ObjectType::StringFormat:
            return readStringFormat(reader);
        default:
            return std::monostate{};
    }
}

}  // namespace pictarium::emfplus
