#include "imaging/metafile/emfplus_player_p.h"

#include "imaging/core/byte_reader.h"
#include "imaging/metafile/embedded_metafile_p.h"
#include "imaging/metafile/emf_record_p.h"
#include "imaging/metafile/emf_record_types_p.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineF>

#include <cmath>
#include <utility>

namespace pictarium::emfplus {

namespace {

namespace Type {
enum : std::uint16_t {
    Header = 0x4001,
    EndOfFile = 0x4002,
    GetDc = 0x4004,
    Object = 0x4008,
    Clear = 0x4009,
    FillRects = 0x400A,
    DrawRects = 0x400B,
    FillPolygon = 0x400C,
    DrawLines = 0x400D,
    FillEllipse = 0x400E,
    DrawEllipse = 0x400F,
    FillPie = 0x4010,
    DrawPie = 0x4011,
    DrawArc = 0x4012,
    FillRegion = 0x4013,
    FillPath = 0x4014,
    DrawPath = 0x4015,
    FillClosedCurve = 0x4016,
    DrawClosedCurve = 0x4017,
    DrawCurve = 0x4018,
    DrawBeziers = 0x4019,
    DrawImage = 0x401A,
    DrawImagePoints = 0x401B,
    DrawString = 0x401C,
    Save = 0x4025,
    Restore = 0x4026,
    BeginContainer = 0x4027,
    BeginContainerNoParams = 0x4028,
    EndContainer = 0x4029,
    SetWorldTransform = 0x402A,
    ResetWorldTransform = 0x402B,
    MultiplyWorldTransform = 0x402C,
    TranslateWorldTransform = 0x402D,
    ScaleWorldTransform = 0x402E,
    RotateWorldTransform = 0x402F,
    SetPageTransform = 0x4030,
    ResetClip = 0x4031,
    SetClipRect = 0x4032,
    SetClipPath = 0x4033,
    SetClipRegion = 0x4034,
    OffsetClip = 0x4035,
    DrawDriverString = 0x4036,
};
}  // namespace Type

constexpr std::uint16_t ColourFlag = 0x8000;      // the brush field holds a colour
constexpr std::uint16_t CompressedFlag = 0x4000;  // 16-bit coordinates
constexpr std::uint16_t AppendFlag = 0x2000;      // transforms: after the world one
constexpr std::uint16_t ClosedFlag = 0x2000;      // lines: back to the start
constexpr std::uint16_t ContinuedFlag = 0x8000;   // objects: more records follow
constexpr std::size_t MaxSavedStates = 1024;
constexpr qsizetype RecordHeaderSize = 12;

QPointF readPoint(ByteReader& reader, bool compressed) {
    if (compressed) {
        const auto x = static_cast<std::int16_t>(reader.u16le());
        return QPointF(x, static_cast<std::int16_t>(reader.u16le()));
    }
    const double x = readFinite(reader);
    return QPointF(x, readFinite(reader));
}

QRectF readRect(ByteReader& reader, bool compressed) {
    const QPointF topLeft = readPoint(reader, compressed);
    const QPointF size = readPoint(reader, compressed);
    return QRectF(topLeft, QSizeF(size.x(), size.y()));
}

QList<QPointF> readPoints(ByteReader& reader, std::uint32_t count, bool compressed) {
    requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / (compressed ? 4 : 8)));
    QList<QPointF> points;
    points.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        points.append(readPoint(reader, compressed));
    }
    return points;
}

// A cardinal spline through the points, as Bézier segments.
QPainterPath cardinalSpline(const QList<QPointF>& points, double tension, bool closed) {
    QPainterPath path;
    const qsizetype count = points.size();
    if (count < 2) {
        return path;
    }
    const auto at = [&](qsizetype i) {
        if (closed) {
            return points[(i % count + count) % count];
        }
        return points[std::clamp<qsizetype>(i, 0, count - 1)];
    };
    path.moveTo(points[0]);
    const qsizetype segments = closed ? count : count - 1;
    const double factor = tension / 3;
    for (qsizetype i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1);
        const QPointF p1 = at(i);
        const QPointF p2 = at(i + 1);
        const QPointF p3 = at(i + 2);
        path.cubicTo(p1 + factor * (p2 - p0), p2 - factor * (p3 - p1), p2);
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

QPainterPath arcPath(const QRectF& box, double start, double sweep, bool pie) {
    QPainterPath path;
    if (pie) {
        path.moveTo(box.center());
        path.arcTo(box, -start, -sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, -start);
        path.arcTo(box, -start, -sweep);
    }
    return path;
}

double transformScale(const QTransform& transform) {
    return std::sqrt(std::abs(transform.determinant()));
}

}  // namespace

Player::Player(emf::Canvas& canvas, const QTransform& deviceToPicture, bool drawsMetafileImages)
    : mCanvas(canvas),
      mDeviceToPicture(deviceToPicture),
      mDrawsMetafileImages(drawsMetafileImages) {}

QTransform Player::pageToDevice() const {
    const double factor = mState.pageUnit == 0 || mState.pageUnit == 1 || mState.pageUnit == 2
                              ? 1.0
                              : pixelsPerUnit(mState.pageUnit, mDpi) * mState.pageScale;
    return QTransform::fromScale(factor, factor);
}

QTransform Player::toPicture() const {
    return mState.world * pageToDevice() * mDeviceToPicture;
}

void Player::playRecords(QByteArrayView records) {
    mCanvas.setClip(mState.clip);  // plain records in between may have set their own
    ByteReader reader(records);
    while (reader.remaining() >= RecordHeaderSize) {
        const std::uint16_t type = reader.u16le();
        const std::uint16_t flags = reader.u16le();
        const std::uint32_t size = reader.u32le();
        const std::uint32_t dataSize = reader.u32le();
        requireValid(size >= RecordHeaderSize);
        const qsizetype bodySize = qsizetype{size} - RecordHeaderSize;
        requireValid(dataSize <= bodySize && bodySize <= reader.remaining());
        const QByteArrayView data = reader.take(bodySize).first(dataSize);
        mPlainRecordsDrawn = type == Type::GetDc;
        play(type, flags, data);
    }
}

void Player::play(std::uint16_t type, std::uint16_t flags, QByteArrayView data) {
    switch (type) {
        case Type::Header: {
            ByteReader reader(data);
            reader.skip(8);  // version, flags
            const std::uint32_t dpi = reader.u32le();
            mDpi = dpi > 0 && dpi < 100000 ? dpi : 96;
            return;
        }
        case Type::Object:
            storeObject(flags, data);
            return;
        case Type::DrawImage:
        case Type::DrawImagePoints:
            playImage(type, flags, data);
            return;
        case Type::DrawString:
            playString(flags, data);
            return;
        case Type::DrawDriverString:
            playDriverString(flags, data);
            return;
        default:
            break;
    }
    if (type >= Type::Save && type <= Type::SetPageTransform) {
        playTransform(type, flags, data);
    } else if (type >= Type::ResetClip && type <= Type::OffsetClip) {
        playClip(type, flags, data);
    } else if (type >= Type::Clear && type <= Type::DrawBeziers) {
        playShape(type, flags, data);
    }
}

void Player::storeObject(std::uint16_t flags, QByteArrayView data) {
    const std::uint32_t index = flags & 0xFF;
    const std::uint32_t type = (flags >> 8) & 0x7F;
    ByteReader reader(data);
    QByteArray whole;
    if (flags & ContinuedFlag) {
        const std::uint32_t total = reader.u32le();
        if (mContinuedObject.isEmpty()) {
            requireValid(total <= 1u << 30);
            mContinuedSize = total;
        }
        const QByteArrayView part = reader.take(reader.remaining());
        mContinuedObject.append(part.data(), part.size());
        requireValid(mContinuedObject.size() <= qsizetype{mContinuedSize} + 65536);
        // GDI+ keeps the flag on the last part too: the total tells the end.
        if (mContinuedObject.size() < qsizetype{mContinuedSize}) {
            return;
        }
        whole = std::exchange(mContinuedObject, {});
    } else {
        whole = std::exchange(mContinuedObject, {});
        whole.append(data.data(), data.size());
    }
    if (index >= mObjects.size()) {
        return;
    }
    try {
        mObjects[index] = readObject(type, whole);
    } catch (const MalformedPicture&) {
        mObjects[index] = std::monostate{};  // an object cut short draws nothing
    }
}

// A metafile image is drawn at the size it takes in the picture and kept
// for further draws at that size. The work all of them take is bounded,
// so that a file of many large ones stays quick: past the budget, the last
// drawing of each is scaled, and one far larger than the picture is drawn
// smaller and scaled up.
const QImage* Player::metafilePicture(MetafileImage& image, QSizeF size) {
    constexpr double MetafileImageBudget = 64e6;
    if (!mDrawsMetafileImages || size.isEmpty()) {
        return nullptr;
    }
    // Its drawing is stretched onto the destination whatever its own shape,
    // so each side can be bounded alone.
    const QPaintDevice& canvas = *mCanvas.painter().device();
    const double largestSide = 4.0 * std::max(canvas.width(), canvas.height());
    const double width = std::min(size.width(), largestSide);
    const double height = std::min(size.height(), largestSide);
    const double largestArea = 4.0 * canvas.width() * canvas.height();
    const double scale = std::min(1.0, std::sqrt(largestArea / (width * height)));
    const QSize wanted(static_cast<int>(std::max(1.0, std::ceil(width * scale))),
                       static_cast<int>(std::max(1.0, std::ceil(height * scale))));
    // Drawn twice, on white and on black; its records count too, so that
    // one drawn again and again at small sizes stays quick.
    const double cost = 2.0 * wanted.width() * wanted.height() + 2.0 * image.bytes.size();
    if (image.picture.size() != wanted && mMetafileImageCost + cost <= MetafileImageBudget) {
        mMetafileImageCost += cost;
        image.picture = emf::decodeEmbeddedMetafile(image.bytes, image.enhanced, wanted);
    }
    return image.picture.isNull() ? nullptr : &image.picture;
}

Brush Player::brushOf(std::uint16_t flags, std::uint32_t value) const {
    if (flags & ColourFlag) {
        return Brush{QBrush(argbColour(value)), false};
    }
    if (value < mObjects.size()) {
        if (const auto* brush = std::get_if<Brush>(&mObjects[value])) {
            return *brush;
        }
    }
    return Brush{Qt::NoBrush, false};
}

std::optional<QPen> Player::penAt(std::uint32_t index) const {
    if (index >= mObjects.size()) {
        return std::nullopt;
    }
    const auto* pen = std::get_if<Pen>(&mObjects[index]);
    if (pen == nullptr) {
        return std::nullopt;
    }
    const QTransform transform = toPicture();
    // World-unit widths follow the transform; others are device sizes.
    const double width =
        pen->unit == 0 || pen->unit == 1
            ? pen->width * transformScale(transform)
            : pen->width * pixelsPerUnit(pen->unit, mDpi) * transformScale(mDeviceToPicture);
    QBrush brush = pen->brush.brush;
    if (pen->brush.followsTransform) {
        brush.setTransform(brush.transform() * transform);
    }
    QPen result(brush, width < 1 ? 0 : width, pen->style, pen->cap, pen->join);
    result.setMiterLimit(pen->miterLimit);
    if (pen->style == Qt::CustomDashLine) {
        result.setDashPattern(pen->dashes);
    }
    return result;
}

void Player::fill(const QPainterPath& shape, const Brush& brush) {
    if (brush.brush.style() == Qt::NoBrush) {
        return;
    }
    const QTransform transform = toPicture();
    emf::Paint paint;
    paint.brush = brush.brush;
    if (brush.followsTransform) {
        paint.brush.setTransform(brush.brush.transform() * transform);
    }
    paint.smoothTexture = true;  // GDI+ blends the pixels of images it stretches
    const QPainterPath painted = brush.area ? shape.intersected(*brush.area) : shape;
    mCanvas.drawPath(transform.map(painted), paint);
}

void Player::stroke(const QPainterPath& shape, std::uint32_t penIndex) {
    const std::optional<QPen> pen = penAt(penIndex);
    if (!pen) {
        return;
    }
    emf::Paint paint;
    paint.pen = *pen;
    const QPainterPath inPicture = toPicture().map(shape);
    const Pen& object = std::get<Pen>(mObjects[penIndex]);
    if (!object.startCap && !object.endCap) {
        mCanvas.drawPath(inPicture, paint);
        return;
    }
    const CappedFigures figures =
        capFigures(inPicture, std::max(1.0, pen->widthF()), object.startCap, object.endCap);
    mCanvas.drawPath(figures.lines, paint);
    emf::Paint capFill;
    capFill.brush = pen->brush();
    mCanvas.drawPath(figures.fills, capFill);
    paint.pen.setStyle(Qt::SolidLine);  // a cap's outline is not dashed
    mCanvas.drawPath(figures.outlines, paint);
}

void Player::playShape(std::uint16_t type, std::uint16_t flags, QByteArrayView data) {
    ByteReader reader(data);
    const bool compressed = (flags & CompressedFlag) != 0;
    const std::uint32_t object = flags & 0xFF;
    QPainterPath shape;
    switch (type) {
        case Type::Clear: {
            emf::Paint paint;
            paint.brush = argbColour(reader.u32le());
            QPainterPath whole;
            whole.addRect(mCanvas.painter().device() == nullptr
                              ? QRectF()
                              : QRectF(0, 0, mCanvas.painter().device()->width(),
                                       mCanvas.painter().device()->height()));
            mCanvas.drawPath(whole, paint);
            return;
        }
        case Type::FillRects:
        case Type::DrawRects: {
            const std::uint32_t brush = type == Type::FillRects ? reader.u32le() : 0;
            const std::uint32_t count = reader.u32le();
            requireValid(count <=
                         static_cast<std::uint64_t>(reader.remaining() / (compressed ? 8 : 16)));
            for (std::uint32_t i = 0; i < count; ++i) {
                shape.addRect(readRect(reader, compressed));
            }
            if (type == Type::FillRects) {
                fill(shape, brushOf(flags, brush));
            } else {
                stroke(shape, object);
            }
            return;
        }
        case Type::FillPolygon: {
            const Brush brush = brushOf(flags, reader.u32le());
            const std::uint32_t count = reader.u32le();
            shape.addPolygon(QPolygonF(readPoints(reader, count, compressed)));
            shape.closeSubpath();
            fill(shape, brush);
            return;
        }
        case Type::DrawLines:
        case Type::DrawBeziers: {
            const std::uint32_t count = reader.u32le();
            const QList<QPointF> points = readPoints(reader, count, compressed);
            if (points.isEmpty()) {
                return;
            }
            shape.moveTo(points[0]);
            for (qsizetype i = 1; i < points.size(); ++i) {
                if (type == Type::DrawBeziers && i + 2 < points.size()) {
                    shape.cubicTo(points[i], points[i + 1], points[i + 2]);
                    i += 2;
                } else {
                    shape.lineTo(points[i]);
                }
            }
            if (type == Type::DrawLines && (flags & ClosedFlag)) {
                shape.closeSubpath();
            }
            stroke(shape, object);
            return;
        }
        case Type::FillEllipse:
        case Type::FillPie: {
            const Brush brush = brushOf(flags, reader.u32le());
            if (type == Type::FillPie) {
                const double start = readFinite(reader);
                const double sweep = readFinite(reader);
                shape = arcPath(readRect(reader, compressed), start, sweep, true);
            } else {
                shape.addEllipse(readRect(reader, compressed));
            }
            fill(shape, brush);
            return;
        }
        case Type::DrawEllipse:
            shape.addEllipse(readRect(reader, compressed));
            stroke(shape, object);
            return;
        case Type::DrawPie:
        case Type::DrawArc: {
            const double start = readFinite(reader);
            const double sweep = readFinite(reader);
            stroke(arcPath(readRect(reader, compressed), start, sweep, type == Type::DrawPie),
                   object);
            return;
        }
        case Type::FillRegion:
            if (object < mObjects.size()) {
                if (const auto* region = std::get_if<Region>(&mObjects[object])) {
                    fill(region->area, brushOf(flags, reader.u32le()));
                }
            }
            return;
        case Type::FillPath:
        case Type::DrawPath:
            if (object < mObjects.size()) {
                if (const auto* path = std::get_if<QPainterPath>(&mObjects[object])) {
                    if (type == Type::FillPath) {
                        fill(*path, brushOf(flags, reader.u32le()));
                    } else {
                        stroke(*path, reader.u32le());
                    }
                }
            }
            return;
        case Type::FillClosedCurve: {
            const Brush brush = brushOf(flags, reader.u32le());
            const double tension = readFinite(reader);
            const std::uint32_t count = reader.u32le();
            fill(cardinalSpline(readPoints(reader, count, compressed), tension, true), brush);
            return;
        }
        case Type::DrawClosedCurve: {
            const double tension = readFinite(reader);
            const std::uint32_t count = reader.u32le();
            stroke(cardinalSpline(readPoints(reader, count, compressed), tension, true), object);
            return;
        }
        case Type::DrawCurve: {
            const double tension = readFinite(reader);
            const std::uint32_t offset = reader.u32le();
            const std::uint32_t segments = reader.u32le();
            const std::uint32_t count = reader.u32le();
            const QList<QPointF> points = readPoints(reader, count, compressed);
            const qsizetype first = std::min<qsizetype>(offset, points.size());
            const qsizetype last =
                std::min<qsizetype>(first + std::int64_t{segments} + 1, points.size());
            stroke(cardinalSpline(points.mid(first, last - first), tension, false), object);
            return;
        }
        default:
            return;
    }
}

void Player::playTransform(std::uint16_t type, std::uint16_t flags, QByteArrayView data) {
    ByteReader reader(data);
    const bool append = (flags & AppendFlag) != 0;
    const auto combine = [&](const QTransform& change) {
        mState.world = append ? mState.world * change : change * mState.world;
    };
    switch (type) {
        case Type::SetWorldTransform:
            if (const auto matrix = readMatrix(reader)) {
                mState.world = *matrix;
            }
            return;
        case Type::ResetWorldTransform:
            mState.world.reset();
            return;
        case Type::MultiplyWorldTransform:
            if (const auto matrix = readMatrix(reader)) {
                combine(*matrix);
            }
            return;
        case Type::TranslateWorldTransform: {
            const double dx = readFinite(reader);
            combine(QTransform::fromTranslate(dx, readFinite(reader)));
            return;
        }
        case Type::ScaleWorldTransform: {
            const double sx = readFinite(reader);
            combine(QTransform::fromScale(sx, readFinite(reader)));
            return;
        }
        case Type::RotateWorldTransform: {
            QTransform rotation;
            rotation.rotate(readFinite(reader));
            combine(rotation);
            return;
        }
        case Type::SetPageTransform: {
            mState.pageUnit = flags & 0xFF;
            const double scale = readFinite(reader);
            mState.pageScale = scale > 0 ? scale : 1;
            return;
        }
        case Type::Save:
        case Type::BeginContainerNoParams:
            if (mSaved.size() < MaxSavedStates) {
                mSaved[reader.u32le()] = mState;
            }
            return;
        case Type::BeginContainer: {
            const QRectF destination = readRect(reader, false);
            const QRectF source = readRect(reader, false);
            const std::uint32_t index = reader.u32le();
            if (mSaved.size() < MaxSavedStates) {
                mSaved[index] = mState;
            }
            if (source.width() != 0 && source.height() != 0) {
                const QTransform fit =
                    QTransform::fromTranslate(-source.left(), -source.top()) *
                    QTransform::fromScale(destination.width() / source.width(),
                                          destination.height() / source.height()) *
                    QTransform::fromTranslate(destination.left(), destination.top());
                mState.world = fit * mState.world;
            }
            return;
        }
        case Type::Restore:
        case Type::EndContainer: {
            const auto found = mSaved.find(reader.u32le());
            if (found != mSaved.end()) {
                mState = found->second;
                mSaved.erase(found, mSaved.end());
                mCanvas.setClip(mState.clip);
            }
            return;
        }
        default:
            return;
    }
}

void Player::combineClip(const QPainterPath& worldArea, std::uint32_t mode, bool infinite) {
    std::optional<QPainterPath> area;
    if (!infinite) {
        area = toPicture().map(worldArea);
    }
    // Past the picture's edges nothing is drawn: it stands for the infinite
    // region where a combination needs a shape.
    QPainterPath everything;
    everything.addRect(QRectF(mCanvas.painter().viewport()));
    const QPainterPath current = mState.clip.value_or(everything);
    const QPainterPath added = area.value_or(everything);
    switch (mode) {
        case 0:  // replace
            mState.clip = area;
            break;
        case 1:  // intersect
            if (area) {
                mState.clip = current.intersected(*area);
            }
            break;
        case 2:  // union
            mState.clip = mState.clip && area ? std::optional(current.united(*area)) : std::nullopt;
            break;
        case 3:  // xor
            mState.clip = current.united(added).subtracted(current.intersected(added));
            break;
        case 4:  // exclude
            mState.clip = current.subtracted(added);
            break;
        case 5:  // complement: the new area less the current one
            mState.clip = added.subtracted(current);
            break;
        default:
            break;
    }
    mCanvas.setClip(mState.clip);
}

void Player::playClip(std::uint16_t type, std::uint16_t flags, QByteArrayView data) {
    ByteReader reader(data);
    const std::uint32_t mode = (flags >> 8) & 0x0F;
    switch (type) {
        case Type::ResetClip:
            mState.clip.reset();
            mCanvas.setClip(mState.clip);
            return;
        case Type::SetClipRect: {
            QPainterPath area;
            area.addRect(readRect(reader, false));
            combineClip(area, mode);
            return;
        }
        case Type::SetClipPath:
        case Type::SetClipRegion: {
            const std::uint32_t index = flags & 0xFF;
            if (index >= mObjects.size()) {
                return;
            }
            if (const auto* path = std::get_if<QPainterPath>(&mObjects[index])) {
                combineClip(*path, mode);
            } else if (const auto* region = std::get_if<Region>(&mObjects[index])) {
                combineClip(region->area, mode, region->infinite);
            }
            return;
        }
        case Type::OffsetClip: {
            const double dx = readFinite(reader);
            const double dy = readFinite(reader);
            if (mState.clip) {
                const QPointF shift = toPicture().map(QPointF(dx, dy)) - toPicture().map(QPointF());
                mState.clip->translate(shift);
                mCanvas.setClip(mState.clip);
            }
            return;
        }
        default:
            return;
    }
}

void Player::playImage(std::uint16_t type, std::uint16_t flags, QByteArrayView data) {
    ByteReader reader(data);
    const std::uint32_t index = flags & 0xFF;
    const bool compressed = (flags & CompressedFlag) != 0;
    reader.skip(8);  // image attributes, source unit
    QRectF source = readRect(reader, false);
    if (index >= mObjects.size()) {
        return;
    }
    // The parallelogram the source goes to: its top-left, top-right and
    // bottom-left corners.
    QPointF corners[3];
    if (type == Type::DrawImage) {
        const QRectF destination = readRect(reader, compressed);
        corners[0] = destination.topLeft();
        corners[1] = destination.topRight();
        corners[2] = destination.bottomLeft();
    } else {
        requireValid(reader.u32le() == 3);
        for (QPointF& corner : corners) {
            corner = readPoint(reader, compressed);
        }
    }
    const QImage* image = std::get_if<QImage>(&mObjects[index]);
    if (auto* metafile = std::get_if<MetafileImage>(&mObjects[index])) {
        // Drawn whole: its source rectangle is in units of its own frame.
        const QTransform transform = toPicture();
        const QPointF origin = transform.map(corners[0]);
        image =
            metafilePicture(*metafile, QSizeF(QLineF(origin, transform.map(corners[1])).length(),
                                              QLineF(origin, transform.map(corners[2])).length()));
        source = image != nullptr ? QRectF(image->rect()) : QRectF();
    }
    if (image == nullptr || image->isNull() || source.width() == 0 || source.height() == 0) {
        return;
    }
    // Source pixels to world: the unit square onto the parallelogram.
    const QTransform sourceToUnit = QTransform::fromTranslate(-source.left(), -source.top()) *
                                    QTransform::fromScale(1 / source.width(), 1 / source.height());
    const QPointF across = corners[1] - corners[0];
    const QPointF down = corners[2] - corners[0];
    const QTransform unitToWorld(across.x(), across.y(), down.x(), down.y(), corners[0].x(),
                                 corners[0].y());
    mCanvas.drawImage(*image, source, sourceToUnit * unitToWorld * toPicture(),
                      QPainter::CompositionMode_SourceOver, true);
}

void Player::drawText(const QString& text, const QList<QPointF>& positions, const QRectF& layout,
                      std::uint16_t fontIndex, const Brush& brush, const StringFormat& format) {
    // Fonts need a Gui application; without one the text is left out.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
        fontIndex >= mObjects.size() || text.isEmpty()) {
        return;
    }
    const auto* font = std::get_if<Font>(&mObjects[fontIndex]);
    if (font == nullptr || font->emSize <= 0) {
        return;
    }
    const QTransform transform = toPicture();
    const double scale = transformScale(transform);
    if (scale <= 0) {
        return;
    }
    // The em size in world units: world fonts are; others are device sizes.
    const double emWorld = font->unit == 0 ? font->emSize
                                           : font->emSize * pixelsPerUnit(font->unit, mDpi) *
                                                 transformScale(mDeviceToPicture) / scale;
    if (!std::isfinite(emWorld) || emWorld * scale < 0.5 || emWorld * scale > 10000) {
        return;
    }
    QFont qtFont(font->family);
    qtFont.setPixelSize(std::max(1, static_cast<int>(std::lround(emWorld * scale))));
    qtFont.setBold(font->bold);
    qtFont.setItalic(font->italic);
    qtFont.setUnderline(font->underline);
    qtFont.setStrikeOut(font->strikeOut);
    QPainter& painter = mCanvas.painter();
    painter.save();
    // Drawn in pixels, with the world's turn and stretch but the font's own size.
    painter.setTransform(QTransform::fromScale(1 / scale, 1 / scale) * transform);
    painter.setFont(qtFont);
    painter.setPen(QPen(brush.brush.style() == Qt::SolidPattern ? brush.brush.color() : Qt::black));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!positions.isEmpty()) {
        for (qsizetype i = 0; i < text.size() && i < positions.size(); ++i) {
            painter.drawText(positions[i] * scale, QString(text[i]));
        }
    } else {
        const QRectF box(layout.topLeft() * scale, layout.size() * scale);
        const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
        const int flags =
            static_cast<int>(horizontal[format.horizontal] | vertical[format.vertical]);
        if (box.width() > 0 && box.height() > 0) {
            painter.drawText(box, flags | Qt::TextWordWrap, text);
        } else {
            const QFontMetricsF metrics(qtFont);
            painter.drawText(box.topLeft() + QPointF(0, metrics.ascent()), text);
        }
    }
    painter.restore();
}

void Player::playString(std::uint16_t flags, QByteArrayView data) {
    ByteReader reader(data);
    const Brush brush = brushOf(flags, reader.u32le());
    const std::uint32_t formatIndex = reader.u32le();
    const std::uint32_t length = reader.u32le();
    const QRectF layout = readRect(reader, false);
    requireValid(length <= static_cast<std::uint64_t>(reader.remaining() / 2));
    QString text;
    for (std::uint32_t i = 0; i < length; ++i) {
        text.append(QChar(static_cast<char16_t>(reader.u16le())));
    }
    StringFormat format;
    if (formatIndex < mObjects.size()) {
        if (const auto* found = std::get_if<StringFormat>(&mObjects[formatIndex])) {
            format = *found;
        }
    }
    drawText(text, {}, layout, flags & 0xFF, brush, format);
}

void Player::playDriverString(std::uint16_t flags, QByteArrayView data) {
    constexpr std::uint32_t CharactersNotGlyphs = 0x1;
    ByteReader reader(data);
    const Brush brush = brushOf(flags, reader.u32le());
    const std::uint32_t options = reader.u32le();
    (void)reader.u32le();  // whether a transform follows
    const std::uint32_t count = reader.u32le();
    requireValid(count <= static_cast<std::uint64_t>(reader.remaining() / 10));
    if ((options & CharactersNotGlyphs) == 0) {
        return;  // glyph numbers of a face that may not be installed
    }
    QString text;
    for (std::uint32_t i = 0; i < count; ++i) {
        text.append(QChar(static_cast<char16_t>(reader.u16le())));
    }
    drawText(text, readPoints(reader, count, false), {}, flags & 0xFF, brush, {});
}

namespace {

// Whether an EMF+ record is one the player draws as GDI+ does. Records
// past driver strings came later (strokes and fills at once, effects,
// terminal-server states), and glyph numbers without the character lookup
// name glyphs of one font file, which the machine may not have.
bool isDrawnHere(QByteArrayView records, qsizetype at, std::uint16_t type, std::uint32_t size) {
    constexpr std::uint32_t CharacterLookup = 0x1;
    if (type > Type::DrawDriverString) {
        return false;
    }
    if (type != Type::DrawDriverString || size < RecordHeaderSize + 8) {
        return true;
    }
    ByteReader options(records, at + RecordHeaderSize + 4);
    return (options.u32le() & CharacterLookup) != 0;
}

}  // namespace

bool isDrawnByPlusRecords(QByteArrayView metafile) {
    namespace Plain = emf::RecordType;
    emf::RecordStream stream(metafile);
    bool holdsPlus = false;
    bool allDrawnHere = true;
    bool holdsPlainCopy = false;
    bool afterGetDc = false;
    while (!stream.atEnd()) {
        const emf::Record record = stream.next();
        if (record.type == Plain::Comment && record.bytes.size() >= 16 + RecordHeaderSize &&
            record.bytes.sliced(12, 4) == QByteArrayView("EMF+")) {
            holdsPlus = true;
            // The last EMF+ record of the comment decides.
            const QByteArrayView records = record.bytes.sliced(16);
            afterGetDc = false;
            for (qsizetype at = 0; at + RecordHeaderSize <= records.size();) {
                ByteReader head(records, at);
                const std::uint16_t type = head.u16le();
                (void)head.u16le();
                const std::uint32_t size = head.u32le();
                afterGetDc = type == Type::GetDc;
                if (size < RecordHeaderSize || size > records.size() - at) {
                    allDrawnHere = false;  // and not by GDI+ either
                    break;
                }
                allDrawnHere = allDrawnHere && isDrawnHere(records, at, type, size);
                at += size;
            }
        } else if (record.type != Plain::Header && record.type != Plain::EndOfFile &&
                   record.type != Plain::Comment && !afterGetDc) {
            holdsPlainCopy = true;
        }
        if (record.type == Plain::EndOfFile) {
            break;
        }
    }
    // Without a plain copy there is nothing else to draw.
    return holdsPlus && (allDrawnHere || !holdsPlainCopy);
}

}  // namespace pictarium::emfplus
