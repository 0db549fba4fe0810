#include "imaging/metafile/emf_player_p.h"

#include "imaging/metafile/emf_record_types_p.h"
#include "imaging/metafile/emf_region_p.h"
#include "imaging/metafile/emf_styles_p.h"

namespace pictarium::emf {

namespace {

constexpr std::uint32_t RegionAnd = 1;
constexpr std::uint32_t RegionOr = 2;
constexpr std::uint32_t RegionXor = 3;
constexpr std::uint32_t RegionDiff = 4;
constexpr std::uint32_t RegionCopy = 5;
// Combining clip paths costs more than linear time in their size: beyond
// this many elements a path clips by its bounds, and is not widened.
constexpr int MaxClipElements = 4096;

QPainterPath affordableClip(const QPainterPath& path) {
    if (path.elementCount() <= MaxClipElements) {
        return path;
    }
    QPainterPath bounds;
    bounds.addRect(path.controlPointRect());
    return bounds;
}

// The path with every open figure closed, as strokes of a filled path are.
QPainterPath withFiguresClosed(const QPainterPath& path) {
    QPainterPath closed;
    closed.setFillRule(path.fillRule());
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            if (i > 0) {
                closed.closeSubpath();
            }
            closed.moveTo(element);
        } else if (element.isLineTo()) {
            closed.lineTo(element);
        } else if (element.isCurveTo() && i + 2 < path.elementCount()) {
            closed.cubicTo(element, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    closed.closeSubpath();
    return closed;
}

}  // namespace

void Player::playPath(const Record& record) {
    switch (record.type) {
        case RecordType::BeginPath:
            mBuildingPath = true;
            mFigureStarted = false;
            mPath = QPainterPath();
            break;
        case RecordType::EndPath:
            mBuildingPath = false;
            break;
        case RecordType::AbortPath:
            mBuildingPath = false;
            mPath = QPainterPath();
            break;
        case RecordType::CloseFigure:
            if (mBuildingPath) {
                mPath.closeSubpath();
                mFigureStarted = false;
            }
            break;
        case RecordType::FillPath:
            paintBracketPath(true, false);
            break;
        case RecordType::StrokePath:
            paintBracketPath(false, true);
            break;
        case RecordType::StrokeAndFillPath:
            paintBracketPath(true, true);
            break;
        case RecordType::WidenPath:
            widenPath();
            break;
        case RecordType::SelectClipPath:
            combineClip(mPath, RecordReader(record).u32());
            mPath = QPainterPath();
            break;
        case RecordType::ExtSelectClipRgn:
            selectClipRegion(record);
            break;
        case RecordType::IntersectClipRect:
            clipToRectangle(record, false);
            break;
        case RecordType::ExcludeClipRect:
            clipToRectangle(record, true);
            break;
        case RecordType::OffsetClipRgn:
            offsetClip(record);
            break;
        default:
            break;
    }
}

void Player::widenPath() {
    // Each widening multiplies a path's elements; paths this large are
    // left as they are.
    if (mPath.elementCount() > MaxClipElements) {
        return;
    }
    QPen pen = qtPen(mContext.pen, lengthScale(toPicture()), mContext.miterLimit);
    pen.setWidthF(std::max(pen.widthF(), 1.0));
    mPath = mCanvas.strokeOutline(mPath, pen);
}

void Player::paintBracketPath(bool fill, bool stroke) {
    mBuildingPath = false;
    const QPainterPath path = stroke && fill ? withFiguresClosed(mPath) : mPath;
    mPath = QPainterPath();
    paintInPicture(path, fill, stroke);
}

void Player::combineClip(const QPainterPath& newArea, std::uint32_t mode) {
    const QPainterPath area = affordableClip(newArea);
    QPainterPath current;
    if (mContext.clip) {
        current = affordableClip(*mContext.clip);
    } else {
        current.addRect(mPictureArea);
    }
    switch (mode) {
        case RegionAnd:
            current = current.intersected(area);
            break;
        case RegionOr:
            current = current.united(area);
            break;
        case RegionXor:
            current = current.united(area).subtracted(current.intersected(area));
            break;
        case RegionDiff:
            current = current.subtracted(area);
            break;
        case RegionCopy:
            current = area;
            break;
        default:
            return;
    }
    mContext.clip = current;
    mCanvas.setClip(mContext.clip);
}

void Player::selectClipRegion(const Record& record) {
    RecordReader reader(record);
    const std::uint32_t dataSize = reader.u32();
    const std::uint32_t mode = reader.u32();
    if (dataSize == 0) {
        // No region: back to the whole picture, whatever the mode says.
        if (mode == RegionCopy) {
            mContext.clip.reset();
            mCanvas.setClip(mContext.clip);
        }
        return;
    }
    // Regions of this record are in device units.
    combineClip(mDeviceToPicture.map(readRegion(reader)), mode);
}

void Player::clipToRectangle(const Record& record, bool exclude) {
    RecordReader reader(record);
    QPainterPath area;
    area.addRect(reader.rectL().toRectF());
    combineClip(toPicture().map(area), exclude ? RegionDiff : RegionAnd);
}

void Player::offsetClip(const Record& record) {
    if (!mContext.clip) {
        return;
    }
    RecordReader reader(record);
    const QTransform transform = toPicture();
    const QPointF offset = transform.map(reader.pointL()) - transform.map(QPointF(0, 0));
    if (!Canvas::isWithinReach(QRectF(offset, offset))) {
        return;
    }
    mContext.clip->translate(offset);
    mCanvas.setClip(mContext.clip);
}

}  // namespace pictarium::emf
