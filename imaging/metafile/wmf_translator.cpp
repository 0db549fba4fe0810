#include "imaging/metafile/wmf_translator_p.h"

#include "imaging/metafile/emf_record_types_p.h"
#include "imaging/metafile/emf_record_writer_p.h"
#include "imaging/metafile/emf_text_p.h"
#include "imaging/metafile/wmf_charsets_p.h"

#include <algorithm>
#include <optional>

namespace pictarium::wmf {

namespace {

namespace Emf = emf::RecordType;
using emf::RecordWriter;
using Records = std::vector<QByteArray>;

// Far more objects than any picture keeps alive at once.
constexpr std::size_t MaxSlots = 65535;
constexpr std::uint32_t RegionCopy = 5;
constexpr std::uint32_t SolidBrush = 0;
constexpr int FaceNameBytes = 32;

Records one(RecordWriter writer) {
    return {writer.result()};
}

// A record of one 32-bit value, as most state records are.
Records valueRecord(std::uint32_t type, std::uint32_t value) {
    return one(std::move(RecordWriter(type).u32(value)));
}

Records pointRecord(std::uint32_t type, QPoint point) {
    return one(std::move(RecordWriter(type).point(point)));
}

RecordWriter& edges(RecordWriter& writer, const QRect& rectangle) {
    return writer.i32(rectangle.left())
        .i32(rectangle.top())
        .i32(rectangle.right())
        .i32(rectangle.bottom());
}

Records rectangleRecord(std::uint32_t type, const QRect& rectangle) {
    RecordWriter writer(type);
    edges(writer, rectangle);
    return one(std::move(writer));
}

// A DIB as WMF packs it: header, colour table and pixels in one run.
struct PackedDib {
    QByteArrayView info;
    QByteArrayView bits;
};

PackedDib splitDibParts(QByteArrayView dib, std::uint16_t usage) {
    ByteReader reader(dib);
    const std::uint32_t headerSize = reader.u32le();
    requireValid(headerSize >= 12 && headerSize <= static_cast<std::uint64_t>(dib.size()));
    std::uint64_t colours = 0;
    qsizetype entryBytes = usage == 1 ? 2 : 4;
    std::uint64_t masks = 0;
    if (headerSize == 12) {
        reader.skip(6);
        const std::uint16_t bits = reader.u16le();
        colours = bits <= 8 ? 1u << bits : 0;
        entryBytes = usage == 1 ? 2 : 3;
    } else {
        requireValid(headerSize >= 40);
        reader.skip(10);
        const std::uint16_t bits = reader.u16le();
        const std::uint32_t compression = reader.u32le();
        reader.skip(12);
        const std::uint32_t used = reader.u32le();
        colours = used != 0 ? used : (bits <= 8 ? 1u << bits : 0);
        if (headerSize == 40 && compression == 3) {
            masks = 12;
        } else if (headerSize == 40 && compression == 6) {
            masks = 16;
        }
    }
    const std::uint64_t infoSize = headerSize + masks + colours * entryBytes;
    requireValid(infoSize <= static_cast<std::uint64_t>(dib.size()));
    const auto size = static_cast<qsizetype>(infoSize);
    return PackedDib{dib.first(size), dib.sliced(size)};
}

// None when the header is not one or its colours overrun the record: the
// bitmap is then left out, as the enhanced player leaves out a bitmap
// that does not decode.
std::optional<PackedDib> splitDib(QByteArrayView dib, std::uint16_t usage) {
    try {
        return splitDibParts(dib, usage);
    } catch (const MalformedPicture&) {
        return std::nullopt;
    }
}

// The bitmap's parts after a record's fixed fields that end at `fixedEnd`:
// header offset and size, pixels offset and size.
void writeDibLocation(RecordWriter& writer, qsizetype fixedEnd, const PackedDib& dib) {
    const auto infoOffset = static_cast<std::uint32_t>(fixedEnd);
    const auto infoSize = static_cast<std::uint32_t>(dib.info.size());
    const std::uint32_t bitsOffset = (infoOffset + infoSize + 3) & ~3u;
    writer.u32(infoOffset)
        .u32(infoSize)
        .u32(bitsOffset)
        .u32(static_cast<std::uint32_t>(dib.bits.size()));
}

void appendDib(RecordWriter& writer, const PackedDib& dib) {
    writer.bytes(dib.info).align().bytes(dib.bits);
}

// Stretches `source` of a DIB into `destination`; with no DIB, fills the
// destination by the raster operation and the brush alone.
Records stretchDib(std::uint32_t operation, QRect destination, QRect source,
                   std::optional<PackedDib> dib, std::uint16_t usage = 0) {
    if (!dib) {
        RecordWriter writer(Emf::BitBlt);
        writer.noBounds().point(destination.topLeft());
        writer.i32(destination.width()).i32(destination.height()).u32(operation);
        writer.i32(0).i32(0).f32(1).f32(0).f32(0).f32(1).f32(0).f32(0);
        writer.u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
        return one(std::move(writer));
    }
    constexpr qsizetype FixedEnd = 80;
    RecordWriter writer(Emf::StretchDiBits);
    writer.noBounds().point(destination.topLeft()).point(source.topLeft());
    writer.i32(source.width()).i32(source.height());
    writeDibLocation(writer, FixedEnd, *dib);
    writer.u32(usage).u32(operation).i32(destination.width()).i32(destination.height());
    appendDib(writer, *dib);
    return one(std::move(writer));
}

Records stretchPackedDib(std::uint32_t operation, QRect destination, QRect source,
                         QByteArrayView bytes, std::uint16_t usage) {
    const std::optional<PackedDib> dib = splitDib(bytes, usage);
    return dib ? stretchDib(operation, destination, source, dib, usage) : Records{};
}

// QRect keeps sizes one short of its edges; records give sizes.
QRect sized(QPoint origin, int width, int height) {
    return QRect(origin.x(), origin.y(), width, height);
}

// The blits of both ages: the stretching ones give a source size first, the
// others copy at the destination's size. Without a bitmap, a raster
// operation alone, a word stands between the source and the destination.
Records translateBlit(const Record& record, bool stretching) {
    ParameterReader reader(record);
    const std::uint32_t operation = reader.u32();
    const bool withDib = record.parameters.size() != (stretching ? 22 : 18);
    const int sourceHeight = stretching ? reader.i16() : 0;
    const int sourceWidth = stretching ? reader.i16() : 0;
    const QPoint sourceOrigin = reader.pointYX();
    if (!withDib) {
        (void)reader.u16();
    }
    const int height = reader.i16();
    const int width = reader.i16();
    const QPoint origin = reader.pointYX();
    const QRect destination = sized(origin, width, height);
    if (!withDib) {
        return stretchDib(operation, destination, {}, std::nullopt);
    }
    if (record.function != Function::DibBitBlt && record.function != Function::DibStretchBlt) {
        return {};  // the old forms' device-dependent bitmaps are not drawn
    }
    const QRect source = stretching ? sized(sourceOrigin, sourceWidth, sourceHeight)
                                    : sized(sourceOrigin, width, height);
    return stretchPackedDib(operation, destination, source, reader.rest(), 0);
}

Records translateStretchDibRecord(const Record& record) {
    ParameterReader reader(record);
    const std::uint32_t operation = reader.u32();
    const std::uint16_t usage = reader.u16();
    const int sourceHeight = reader.i16();
    const int sourceWidth = reader.i16();
    const QPoint sourceOrigin = reader.pointYX();
    const int height = reader.i16();
    const int width = reader.i16();
    const QPoint origin = reader.pointYX();
    return stretchPackedDib(operation, sized(origin, width, height),
                            sized(sourceOrigin, sourceWidth, sourceHeight), reader.rest(), usage);
}

Records translateDibToDevice(const Record& record) {
    ParameterReader reader(record);
    const std::uint16_t usage = reader.u16();
    const std::uint16_t scans = reader.u16();
    const std::uint16_t startScan = reader.u16();
    const QPoint sourceOrigin = reader.pointYX();
    const int height = reader.i16();
    const int width = reader.i16();
    const QPoint origin = reader.pointYX();
    const std::optional<PackedDib> found = splitDib(reader.rest(), usage);
    if (!found) {
        return {};
    }
    const PackedDib& dib = *found;
    constexpr qsizetype FixedEnd = 76;
    RecordWriter writer(Emf::SetDiBitsToDevice);
    writer.noBounds().point(origin).point(sourceOrigin).i32(width).i32(height);
    writeDibLocation(writer, FixedEnd, dib);
    writer.u32(usage).u32(startScan).u32(scans);
    appendDib(writer, dib);
    return one(std::move(writer));
}

Records translatePatBlt(const Record& record) {
    ParameterReader reader(record);
    const std::uint32_t operation = reader.u32();
    const int height = reader.i16();
    const int width = reader.i16();
    const QPoint origin = reader.pointYX();
    return stretchDib(operation, sized(origin, width, height), {}, std::nullopt);
}

// Polygons and polylines: a count, then points as 16-bit pairs, which the
// enhanced 16-bit records store alike.
Records translatePoly(const Record& record, std::uint32_t type) {
    ParameterReader reader(record);
    const std::uint16_t count = reader.u16();
    const QByteArrayView points = reader.take(4 * qsizetype{count});
    RecordWriter writer(type);
    writer.noBounds().u32(count).bytes(points);
    return one(std::move(writer));
}

Records translatePolyPolygon(const Record& record) {
    ParameterReader reader(record);
    const std::uint16_t polygons = reader.u16();
    std::vector<std::uint16_t> counts(polygons);
    std::uint32_t total = 0;
    for (std::uint16_t& count : counts) {
        count = reader.u16();
        total += count;
    }
    const QByteArrayView points = reader.take(4 * qsizetype{total});
    RecordWriter writer(Emf::PolyPolygon16);
    writer.noBounds().u32(polygons).u32(total);
    for (const std::uint16_t count : counts) {
        writer.u32(count);
    }
    writer.bytes(points);
    return one(std::move(writer));
}

Records translateArc(const Record& record, std::uint32_t type) {
    ParameterReader reader(record);
    const QPoint end = reader.pointYX();
    const QPoint start = reader.pointYX();
    RecordWriter writer(type);
    edges(writer, reader.edgesBRTL()).point(start).point(end);
    return one(std::move(writer));
}

Records translateShape(const Record& record) {
    ParameterReader reader(record);
    switch (record.function) {
        case Function::MoveTo:
            return pointRecord(Emf::MoveToEx, reader.pointYX());
        case Function::LineTo:
            return pointRecord(Emf::LineTo, reader.pointYX());
        case Function::Rectangle:
            return rectangleRecord(Emf::Rectangle, reader.edgesBRTL());
        case Function::Ellipse:
            return rectangleRecord(Emf::Ellipse, reader.edgesBRTL());
        case Function::RoundRect: {
            const int height = reader.i16();
            const int width = reader.i16();
            RecordWriter writer(Emf::RoundRect);
            edges(writer, reader.edgesBRTL()).i32(width).i32(height);
            return one(std::move(writer));
        }
        case Function::SetPixel: {
            const std::uint32_t colour = reader.u32();
            return one(std::move(RecordWriter(Emf::SetPixelV).point(reader.pointYX()).u32(colour)));
        }
        case Function::Arc:
            return translateArc(record, Emf::Arc);
        case Function::Pie:
            return translateArc(record, Emf::Pie);
        case Function::Chord:
            return translateArc(record, Emf::Chord);
        case Function::Polygon:
            return translatePoly(record, Emf::Polygon16);
        case Function::Polyline:
            return translatePoly(record, Emf::Polyline16);
        case Function::PolyPolygon:
            return translatePolyPolygon(record);
        case Function::PatBlt:
            return translatePatBlt(record);
        case Function::DibBitBlt:
        case Function::BitBlt:
            return translateBlit(record, false);
        case Function::DibStretchBlt:
        case Function::StretchBlt:
            return translateBlit(record, true);
        case Function::StretchDib:
            return translateStretchDibRecord(record);
        case Function::SetDibToDevice:
            return translateDibToDevice(record);
        default:
            return {};
    }
}

// Region data as the enhanced records hold it: a header, then rectangles.
QByteArray regionData(const QList<QRect>& rectangles) {
    RecordWriter data(0);
    QRect bounds;
    for (const QRect& rectangle : rectangles) {
        bounds = bounds.isNull() ? rectangle : bounds.united(rectangle);
    }
    data.u32(32).u32(1).u32(static_cast<std::uint32_t>(rectangles.size()));
    data.u32(static_cast<std::uint32_t>(16 * rectangles.size()));
    edges(data, bounds);
    for (const QRect& rectangle : rectangles) {
        edges(data, rectangle);
    }
    // Without the writer's own type and size.
    return data.result().sliced(8);
}

// A region object: its scans, each a band of rows cut into spans.
QList<QRect> readRegion(const Record& record) {
    ParameterReader reader(record);
    reader.skip(10);  // chain, type, object count, size
    const std::uint16_t scans = reader.u16();
    (void)reader.u16();  // largest scan
    const QRect bounds = [&reader] {
        const int left = reader.i16();
        const int top = reader.i16();
        const int right = reader.i16();
        return QRect(QPoint(left, top), QPoint(right, reader.i16()));
    }();
    QList<QRect> rectangles;
    try {
        for (std::uint16_t scan = 0; scan < scans; ++scan) {
            const std::uint16_t coordinates = reader.u16();
            const int top = reader.i16();
            const int bottom = reader.i16();
            requireValid(coordinates % 2 == 0);
            for (std::uint16_t i = 0; i < coordinates; i += 2) {
                const int left = reader.i16();
                rectangles.append(QRect(QPoint(left, top), QPoint(reader.i16(), bottom)));
            }
            (void)reader.u16();  // the count again
        }
    } catch (const MalformedPicture&) {
        rectangles.clear();  // scans that do not add up: the bounds stand for them
    }
    if (rectangles.isEmpty() && bounds.right() > bounds.left() && bounds.bottom() > bounds.top()) {
        rectangles.append(bounds);  // also for writers that give only the bounds
    }
    return rectangles;
}

// Clips to a region as a path of its rectangles, since the enhanced
// records' regions are in device units and these are logical.
Records clipToRegion(const QList<QRect>& rectangles) {
    Records records;
    records.push_back(RecordWriter(Emf::BeginPath).result());
    for (const QRect& box : rectangles) {
        RecordWriter writer(Emf::Polygon16);
        writer.noBounds().u32(4);
        for (const QPoint corner : {box.topLeft(), QPoint(box.right(), box.top()),
                                    box.bottomRight(), QPoint(box.left(), box.bottom())}) {
            writer.u16(static_cast<std::uint16_t>(corner.x()));
            writer.u16(static_cast<std::uint16_t>(corner.y()));
        }
        records.push_back(writer.result());
    }
    records.push_back(RecordWriter(Emf::EndPath).result());
    records.push_back(RecordWriter(Emf::SelectClipPath).u32(RegionCopy).result());
    return records;
}

Records resetClip() {
    return one(std::move(RecordWriter(Emf::ExtSelectClipRgn).u32(0).u32(RegionCopy)));
}

QByteArray fontRecord(std::uint32_t index, const Record& record, std::uint8_t& charset) {
    ParameterReader reader(record);
    RecordWriter writer(Emf::ExtCreateFontIndirectW);
    writer.u32(index);
    for (int i = 0; i < 5; ++i) {  // height, width, escapement, orientation, weight
        writer.i32(reader.i16());
    }
    const QByteArrayView flags = reader.take(8);
    charset = static_cast<std::uint8_t>(flags[3]);
    writer.bytes(flags);
    const QByteArrayView face = reader.take(std::min<qsizetype>(reader.remaining(), FaceNameBytes));
    const QString name = faceName(face);
    for (int i = 0; i < FaceNameBytes; ++i) {
        writer.u16(i < name.size() ? name.at(i).unicode() : 0);
    }
    return writer.result();
}

}  // namespace

std::vector<QByteArray> Translator::startRecords(QRect window, QSize pictureSize) {
    Records records;
    records.push_back(RecordWriter(Emf::SetMapMode).u32(8).result());
    records.push_back(RecordWriter(Emf::SetWindowOrgEx).point(window.topLeft()).result());
    records.push_back(
        RecordWriter(Emf::SetWindowExtEx).i32(window.width()).i32(window.height()).result());
    records.push_back(RecordWriter(Emf::SetViewportOrgEx).i32(0).i32(0).result());
    records.push_back(RecordWriter(Emf::SetViewportExtEx)
                          .i32(pictureSize.width())
                          .i32(pictureSize.height())
                          .result());
    return records;
}

std::vector<QByteArray> Translator::translate(const Record& record) {
    switch (record.function) {
        case Function::SaveDc:
        case Function::RestoreDc:
        case Function::SetBkMode:
        case Function::SetMapMode:
        case Function::SetRop2:
        case Function::SetPolyFillMode:
        case Function::SetStretchBltMode:
        case Function::SetTextAlign:
        case Function::SetBkColor:
        case Function::SetTextColor:
            return translateState(record);
        case Function::SetWindowOrg:
        case Function::SetWindowExt:
        case Function::OffsetWindowOrg:
        case Function::ScaleWindowExt:
            return translateWindow(record);
        case Function::CreatePenIndirect:
        case Function::CreateBrushIndirect:
        case Function::CreateFontIndirect:
        case Function::DibCreatePatternBrush:
        case Function::CreatePatternBrush:
        case Function::CreatePalette:
        case Function::CreateRegion:
        case Function::SelectObject:
        case Function::DeleteObject:
            return translateObject(record);
        case Function::SelectClipRegion:
        case Function::FillRegion:
        case Function::PaintRegion:
        case Function::OffsetClipRgn:
        case Function::IntersectClipRect:
        case Function::ExcludeClipRect:
            return translateRegion(record);
        case Function::TextOut:
        case Function::ExtTextOut:
            return translateText(record);
        default:
            return translateShape(record);
    }
}

std::vector<QByteArray> Translator::translateState(const Record& record) {
    ParameterReader reader(record);
    switch (record.function) {
        case Function::SaveDc:
            mSavedOrigins.push_back(mWindowOrigin);
            mSavedCharsets.push_back(mCharset);
            return one(RecordWriter(Emf::SaveDc));
        case Function::RestoreDc: {
            const int which = reader.i16();
            if (which < 0 && static_cast<std::size_t>(-which) <= mSavedOrigins.size()) {
                const std::size_t kept = mSavedOrigins.size() - static_cast<std::size_t>(-which);
                mWindowOrigin = mSavedOrigins[kept];
                mCharset = mSavedCharsets[kept];
                mSavedOrigins.resize(kept);
                mSavedCharsets.resize(kept);
            }
            return one(std::move(RecordWriter(Emf::RestoreDc).i32(which)));
        }
        case Function::SetMapMode: {
            // The picture replaces the device: only modes that stretch the
            // window onto it keep their meaning.
            const std::uint16_t mode = reader.u16();
            return mode == 7 || mode == 8 ? valueRecord(Emf::SetMapMode, mode) : Records{};
        }
        case Function::SetBkMode:
            return valueRecord(Emf::SetBkMode, reader.u16());
        case Function::SetRop2:
            return valueRecord(Emf::SetRop2, reader.u16());
        case Function::SetPolyFillMode:
            return valueRecord(Emf::SetPolyFillMode, reader.u16());
        case Function::SetStretchBltMode:
            return valueRecord(Emf::SetStretchBltMode, reader.u16());
        case Function::SetTextAlign:
            return valueRecord(Emf::SetTextAlign, reader.u16());
        case Function::SetBkColor:
            return valueRecord(Emf::SetBkColor, reader.u32());
        case Function::SetTextColor:
            return valueRecord(Emf::SetTextColor, reader.u32());
        default:
            return {};
    }
}

std::vector<QByteArray> Translator::translateWindow(const Record& record) {
    ParameterReader reader(record);
    switch (record.function) {
        case Function::SetWindowOrg:
            mWindowOrigin = reader.pointYX();
            return pointRecord(Emf::SetWindowOrgEx, mWindowOrigin);
        case Function::OffsetWindowOrg:
            mWindowOrigin += reader.pointYX();
            return pointRecord(Emf::SetWindowOrgEx, mWindowOrigin);
        case Function::SetWindowExt:
            return pointRecord(Emf::SetWindowExtEx, reader.pointYX());
        case Function::ScaleWindowExt: {
            const int yDenominator = reader.i16();
            const int yNumerator = reader.i16();
            const int xDenominator = reader.i16();
            const int xNumerator = reader.i16();
            return one(std::move(RecordWriter(Emf::ScaleWindowExtEx)
                                     .i32(xNumerator)
                                     .i32(xDenominator)
                                     .i32(yNumerator)
                                     .i32(yDenominator)));
        }
        default:
            return {};
    }
}

std::uint32_t Translator::occupySlot(Slot slot) {
    const auto free = std::find_if(mSlots.begin(), mSlots.end(),
                                   [](const Slot& s) { return s.kind == Slot::Kind::Free; });
    if (free != mSlots.end()) {
        *free = std::move(slot);
        return static_cast<std::uint32_t>(free - mSlots.begin());
    }
    if (mSlots.size() >= MaxSlots) {
        return MaxSlots;
    }
    mSlots.push_back(std::move(slot));
    return static_cast<std::uint32_t>(mSlots.size() - 1);
}

const Translator::Slot* Translator::slotAt(std::uint16_t index) const {
    if (index >= mSlots.size() || mSlots[index].kind == Slot::Kind::Free) {
        return nullptr;
    }
    return &mSlots[index];
}

std::vector<QByteArray> Translator::translateObject(const Record& record) {
    ParameterReader reader(record);
    switch (record.function) {
        case Function::SelectObject:
            return selectObject(reader.u16());
        case Function::DeleteObject:
            return deleteObject(reader.u16());
        case Function::CreatePalette:
            (void)occupySlot(Slot{Slot::Kind::Palette, 0, {}});
            return {};
        case Function::CreateRegion:
            (void)occupySlot(Slot{Slot::Kind::Region, 0, readRegion(record)});
            return {};
        case Function::CreateFontIndirect: {
            const std::uint32_t slot = occupySlot(Slot{Slot::Kind::Font, 0, {}});
            if (slot == MaxSlots) {
                return {};
            }
            return {fontRecord(slot + 1, record, mSlots[slot].charset)};
        }
        default:
            break;
    }
    const std::uint32_t slot = occupySlot(Slot{Slot::Kind::Drawing, 0, {}});
    if (slot == MaxSlots) {
        return {};  // more objects than the table holds are not made
    }
    const std::uint32_t index = slot + 1;
    switch (record.function) {
        case Function::CreatePenIndirect: {
            const std::uint16_t style = reader.u16();
            const int width = reader.i16();
            (void)reader.i16();
            const std::uint32_t colour = reader.u32();
            return one(std::move(
                RecordWriter(Emf::CreatePen).u32(index).u32(style).i32(width).i32(0).u32(colour)));
        }
        case Function::CreateBrushIndirect: {
            const std::uint16_t style = reader.u16();
            const std::uint32_t colour = reader.u32();
            const std::uint16_t hatch = reader.u16();
            return one(std::move(RecordWriter(Emf::CreateBrushIndirect)
                                     .u32(index)
                                     .u32(style)
                                     .u32(colour)
                                     .u32(hatch)));
        }
        case Function::DibCreatePatternBrush: {
            (void)reader.u16();  // style
            const std::uint16_t usage = reader.u16();
            const PackedDib dib = splitDib(reader.rest(), usage).value_or(PackedDib{});
            RecordWriter writer(Emf::CreateDibPatternBrushPt);
            writer.u32(index).u32(usage);
            writeDibLocation(writer, 32, dib);
            appendDib(writer, dib);
            return one(std::move(writer));
        }
        default:
            // A pattern of a device-dependent bitmap, mostly a dither of
            // two colours: drawn as the grey it averages to.
            return one(std::move(RecordWriter(Emf::CreateBrushIndirect)
                                     .u32(index)
                                     .u32(SolidBrush)
                                     .u32(0x808080)
                                     .u32(0)));
    }
}

std::vector<QByteArray> Translator::selectObject(std::uint16_t index) {
    const Slot* slot = slotAt(index);
    if (slot == nullptr || slot->kind == Slot::Kind::Palette) {
        return {};
    }
    if (slot->kind == Slot::Kind::Region) {
        return clipToRegion(slot->rectangles);
    }
    if (slot->kind == Slot::Kind::Font) {
        mCharset = slot->charset;
    }
    return valueRecord(Emf::SelectObject, std::uint32_t{index} + 1);
}

std::vector<QByteArray> Translator::deleteObject(std::uint16_t index) {
    const Slot* slot = slotAt(index);
    if (slot == nullptr) {
        return {};
    }
    const bool drawn = slot->kind == Slot::Kind::Drawing || slot->kind == Slot::Kind::Font;
    mSlots[index] = Slot{};
    return drawn ? valueRecord(Emf::DeleteObject, std::uint32_t{index} + 1) : Records{};
}

std::vector<QByteArray> Translator::translateRegion(const Record& record) {
    ParameterReader reader(record);
    switch (record.function) {
        case Function::IntersectClipRect:
            return rectangleRecord(Emf::IntersectClipRect, reader.edgesBRTL());
        case Function::ExcludeClipRect:
            return rectangleRecord(Emf::ExcludeClipRect, reader.edgesBRTL());
        case Function::OffsetClipRgn:
            return pointRecord(Emf::OffsetClipRgn, reader.pointYX());
        case Function::SelectClipRegion: {
            const Slot* slot = slotAt(reader.u16());
            return slot != nullptr && slot->kind == Slot::Kind::Region
                       ? clipToRegion(slot->rectangles)
                       : resetClip();
        }
        default:
            break;
    }
    const Slot* region = slotAt(reader.u16());
    if (region == nullptr || region->kind != Slot::Kind::Region) {
        return {};
    }
    const QByteArray data = regionData(region->rectangles);
    if (record.function == Function::PaintRegion) {
        RecordWriter writer(Emf::PaintRgn);
        writer.noBounds().u32(static_cast<std::uint32_t>(data.size())).bytes(data);
        return one(std::move(writer));
    }
    const std::uint16_t brush = reader.u16();
    const Slot* brushSlot = slotAt(brush);
    if (brushSlot == nullptr || brushSlot->kind != Slot::Kind::Drawing) {
        return {};
    }
    RecordWriter writer(Emf::FillRgn);
    writer.noBounds().u32(static_cast<std::uint32_t>(data.size())).u32(std::uint32_t{brush} + 1);
    writer.bytes(data);
    return one(std::move(writer));
}

std::vector<QByteArray> Translator::translateText(const Record& record) {
    ParameterReader reader(record);
    QPoint reference;
    std::uint16_t length = 0;
    std::uint32_t options = 0;
    QRect rectangle;
    bool hasRectangle = false;
    if (record.function == Function::TextOut) {
        length = reader.u16();
    } else {
        reference = reader.pointYX();
        length = reader.u16();
        options = reader.u16();
        if ((options & (emf::TextOption::Opaque | emf::TextOption::Clipped)) != 0) {
            const int left = reader.i16();
            const int top = reader.i16();
            const int right = reader.i16();
            rectangle = QRect(QPoint(left, top), QPoint(right, reader.i16()));
            hasRectangle = true;
        }
    }
    const QByteArrayView bytes = reader.take(length);
    reader.skip(std::min<qsizetype>(length % 2, reader.remaining()));
    if (record.function == Function::TextOut) {
        reference = reader.pointYX();
    }
    const QString text = charsetText(bytes, mCharset);
    QList<std::int32_t> advances;
    // One advance per byte: usable when every byte is one character.
    if (text.size() == length && reader.remaining() >= 2 * qsizetype{length}) {
        for (std::uint16_t i = 0; i < length; ++i) {
            advances.append(reader.i16());
        }
    }
    options &= ~emf::TextOption::GlyphIndices;
    if (!hasRectangle) {
        options |= emf::TextOption::NoRectangle;
    }

    // Without a rectangle the record leaves out its field.
    const qsizetype textOffset = hasRectangle ? 76 : 60;
    const auto characters = static_cast<std::uint32_t>(text.size());
    const std::uint32_t advancesOffset =
        advances.isEmpty() ? 0
                           : static_cast<std::uint32_t>(textOffset + ((2 * text.size() + 3) & ~3));
    RecordWriter writer(Emf::ExtTextOutW);
    writer.noBounds().u32(1).f32(1).f32(1);
    writer.point(reference).u32(characters).u32(textOffset).u32(options);
    if (hasRectangle) {
        edges(writer, rectangle);
    }
    writer.u32(advancesOffset);
    for (const QChar character : text) {
        writer.u16(character.unicode());
    }
    writer.align();
    for (const std::int32_t advance : advances) {
        writer.i32(advance);
    }
    return one(std::move(writer));
}

}  // namespace pictarium::wmf
