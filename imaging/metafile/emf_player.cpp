#include "imaging/metafile/emf_player_p.h"

#include "imaging/metafile/emf_record_types_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

// Deeper nesting than any real picture uses; saves beyond it are ignored
// so that a file of nothing but saves stays small in memory.
constexpr std::size_t MaxSavedContexts = 1024;

constexpr std::uint32_t IdentityTransform = 1;
constexpr std::uint32_t LeftMultiply = 2;
constexpr std::uint32_t RightMultiply = 3;
constexpr std::uint32_t SetTransform = 4;

std::optional<QTransform> readTransform(RecordReader& reader) {
    double values[6];
    for (double& value : values) {
        value = reader.f32();
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
    }
    return QTransform(values[0], values[1], values[2], values[3], values[4], values[5]);
}

// The frame fills the picture, drawn at its own size or any other.
QTransform deviceToPictureOf(const Header& header, QSize picture) {
    const QSize natural = pictureSize(header);
    return deviceToPicture(header) *
           QTransform::fromScale(static_cast<double>(picture.width()) / natural.width(),
                                 static_cast<double>(picture.height()) / natural.height());
}

}  // namespace

Player::Player(const Header& header, QImage& picture, PlusRecords plus)
    : mPixelsPerMm(header.devicePixelsPerMmX, header.devicePixelsPerMmY),
      mDeviceToPicture(deviceToPictureOf(header, picture.size())),
      mPictureArea(picture.rect()),
      mCanvas(picture) {
    if (plus != PlusRecords::Ignored) {
        mPlus.emplace(mCanvas, mDeviceToPicture, plus == PlusRecords::Drawn);
    }
}

void Player::playPlusComment(const Record& record) {
    RecordReader reader(record);
    const std::uint32_t size = reader.u32();
    if (size < 4 || reader.take(4) != QByteArrayView("EMF+")) {
        return;
    }
    mPlus->playRecords(reader.take(size - 4));
}

QTransform Player::toPicture() const {
    return mContext.logicalToDevice() * mDeviceToPicture;
}

bool Player::play(const Record& record) {
    if (mPlus && record.type == RecordType::Comment) {
        playPlusComment(record);
        return true;
    }
    if (mPlus && record.type != RecordType::EndOfFile && !mPlus->drawsPlainRecords()) {
        return true;
    }
    switch (record.type) {
        case RecordType::EndOfFile:
            return false;
        case RecordType::CreatePen:
            storeObject(readCreatePen(record));
            break;
        case RecordType::ExtCreatePen:
            storeObject(readExtCreatePen(record));
            break;
        case RecordType::CreateBrushIndirect:
            storeObject(readCreateBrushIndirect(record));
            break;
        case RecordType::CreateMonoBrush:
        case RecordType::CreateDibPatternBrushPt:
            storeObject(readPatternBrush(record));
            break;
        case RecordType::ExtCreateFontIndirectW:
            storeObject(readExtCreateFontIndirect(record));
            break;
        case RecordType::SelectObject:
            selectObject(RecordReader(record).u32());
            break;
        case RecordType::DeleteObject:
            deleteObject(RecordReader(record).u32());
            break;
        case RecordType::ExtTextOutW:
            playText(record, true);
            break;
        case RecordType::ExtTextOutA:
            playText(record, false);
            break;
        case RecordType::BitBlt:
        case RecordType::StretchBlt:
        case RecordType::AlphaBlend:
            playBlit(record);
            break;
        case RecordType::StretchDiBits:
            playStretchDib(record);
            break;
        case RecordType::SetDiBitsToDevice:
            playDibToDevice(record);
            break;
        case RecordType::GradientFill:
            playGradientFill(record);
            break;
        case RecordType::FillRgn:
            fillRegion(record, true);
            break;
        case RecordType::PaintRgn:
            fillRegion(record, false);
            break;
        default:
            playState(record);
            playDrawing(record);
            playPath(record);
            break;
    }
    return true;
}

void Player::playState(const Record& record) {
    RecordReader reader(record);
    switch (record.type) {
        case RecordType::SetMapMode:
            mContext.setMapMode(reader.u32(), mPixelsPerMm);
            break;
        case RecordType::SetWindowExtEx:
        case RecordType::SetWindowOrgEx:
        case RecordType::SetViewportExtEx:
        case RecordType::SetViewportOrgEx:
            setWindowOrViewport(record);
            break;
        case RecordType::ScaleViewportExtEx:
        case RecordType::ScaleWindowExtEx:
            scaleExtent(record);
            break;
        case RecordType::SetWorldTransform:
            if (const auto transform = readTransform(reader)) {
                mContext.world = *transform;
            }
            break;
        case RecordType::ModifyWorldTransform:
            modifyWorldTransform(record);
            break;
        case RecordType::SaveDc:
            saveContext();
            break;
        case RecordType::RestoreDc:
            restoreContext(reader.i32());
            break;
        case RecordType::SetBkMode:
            mContext.opaqueBackground = reader.u32() == 2;
            break;
        case RecordType::SetBkColor:
            mContext.backgroundColour = reader.colorRef();
            break;
        case RecordType::SetTextColor:
            mContext.textColour = reader.colorRef();
            break;
        case RecordType::SetTextAlign:
            mContext.textAlign = reader.u32();
            break;
        case RecordType::SetPolyFillMode:
            mContext.fillRule = reader.u32() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case RecordType::SetArcDirection:
            mContext.clockwiseArcs = reader.u32() == 2;
            break;
        case RecordType::SetRop2:
            mContext.mixMode = reader.u32();
            break;
        case RecordType::SetStretchBltMode:
            mContext.smoothStretch = reader.u32() == 4;  // halftone
            break;
        case RecordType::SetMiterLimit:
            mContext.miterLimit = std::clamp<double>(reader.u32(), 1, 100);
            break;
        case RecordType::MoveToEx:
            mContext.currentPosition = reader.pointL();
            mFigureStarted = false;
            break;
        default:
            break;
    }
}

void Player::setWindowOrViewport(const Record& record) {
    RecordReader reader(record);
    const QPointF value = reader.pointL();
    switch (record.type) {
        case RecordType::SetWindowExtEx:
            mContext.setWindowExtent(value);
            break;
        case RecordType::SetWindowOrgEx:
            mContext.windowOrigin = value;
            break;
        case RecordType::SetViewportExtEx:
            mContext.setViewportExtent(value);
            break;
        default:
            mContext.viewportOrigin = value;
            break;
    }
}

void Player::scaleExtent(const Record& record) {
    RecordReader reader(record);
    const double xNumerator = reader.i32();
    const double xDenominator = reader.i32();
    const double yNumerator = reader.i32();
    const double yDenominator = reader.i32();
    if (xDenominator == 0 || yDenominator == 0) {
        return;
    }
    const QPointF factor(xNumerator / xDenominator, yNumerator / yDenominator);
    if (record.type == RecordType::ScaleViewportExtEx) {
        const QPointF extent = mContext.viewportExtent;
        mContext.setViewportExtent(QPointF(extent.x() * factor.x(), extent.y() * factor.y()));
    } else {
        const QPointF extent = mContext.windowExtent;
        mContext.setWindowExtent(QPointF(extent.x() * factor.x(), extent.y() * factor.y()));
    }
}

void Player::modifyWorldTransform(const Record& record) {
    RecordReader reader(record);
    const std::optional<QTransform> transform = readTransform(reader);
    const std::uint32_t mode = reader.u32();
    if (mode == IdentityTransform) {
        mContext.world.reset();
    } else if (!transform) {
        return;
    } else if (mode == LeftMultiply) {
        mContext.world = *transform * mContext.world;
    } else if (mode == RightMultiply) {
        mContext.world = mContext.world * *transform;
    } else if (mode == SetTransform) {
        mContext.world = *transform;
    }
}

void Player::saveContext() {
    if (mSavedContexts.size() < MaxSavedContexts) {
        mSavedContexts.push_back(mContext);
    }
}

// Only relative restores are meaningful in a metafile: -1 is the last save.
void Player::restoreContext(std::int32_t which) {
    if (which >= 0 ||
        -static_cast<std::int64_t>(which) > static_cast<std::int64_t>(mSavedContexts.size())) {
        return;
    }
    const std::size_t kept = mSavedContexts.size() - static_cast<std::size_t>(-std::int64_t{which});
    mContext = mSavedContexts[kept];
    mSavedContexts.resize(kept);
    mCanvas.setClip(mContext.clip);
}

}  // namespace pictarium::emf
