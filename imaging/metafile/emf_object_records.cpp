#include "imaging/metafile/emf_object_records_p.h"

#include "imaging/metafile/emf_dib_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

constexpr std::uint32_t SolidBrushStyle = 0;
constexpr std::uint32_t HollowBrushStyle = 1;
constexpr std::uint32_t HatchedBrushStyle = 2;
constexpr int FaceNameCharacters = 32;

LogicalBrush brushOf(std::uint32_t style, QColor colour, std::uint32_t hatch) {
    LogicalBrush brush;
    brush.colour = colour;
    brush.hatch = hatch;
    switch (style) {
        case SolidBrushStyle:
            brush.kind = LogicalBrush::Kind::Solid;
            break;
        case HollowBrushStyle:
            brush.kind = LogicalBrush::Kind::Hollow;
            break;
        case HatchedBrushStyle:
            brush.kind = LogicalBrush::Kind::Hatched;
            break;
        default:
            // Pattern styles that come without their bitmap here.
            brush.kind = LogicalBrush::Kind::Solid;
            break;
    }
    return brush;
}

}  // namespace

CreatedObject readCreatePen(const Record& record) {
    RecordReader reader(record);
    CreatedObject created{reader.u32(), {}};
    LogicalPen pen;
    pen.style = reader.u32();
    pen.width = std::abs(static_cast<double>(reader.i32()));
    (void)reader.i32();  // the width's unused y
    pen.colour = reader.colorRef();
    created.object = pen;
    return created;
}

CreatedObject readExtCreatePen(const Record& record) {
    RecordReader reader(record);
    CreatedObject created{reader.u32(), {}};
    reader.skip(16);  // a pattern bitmap's place, which is not drawn
    LogicalPen pen;
    pen.style = reader.u32();
    pen.width = reader.u32();
    if ((pen.style & PenStyle::Geometric) == 0) {
        pen.width = 0;  // cosmetic pens are one pixel wide
    }
    const std::uint32_t brushStyle = reader.u32();
    pen.colour = reader.colorRef();
    (void)reader.u32();  // hatch
    if (brushStyle == HollowBrushStyle) {
        pen.style = (pen.style & ~PenStyle::LineMask) | PenStyle::Null;
    }
    const std::uint32_t dashCount = reader.u32();
    if ((pen.style & PenStyle::LineMask) == PenStyle::UserStyle) {
        requireValid(reader.holds(dashCount, 4));
        for (std::uint32_t i = 0; i < dashCount; ++i) {
            pen.dashes.append(reader.u32());
        }
    }
    created.object = pen;
    return created;
}

CreatedObject readCreateBrushIndirect(const Record& record) {
    RecordReader reader(record);
    CreatedObject created{reader.u32(), {}};
    const std::uint32_t style = reader.u32();
    const QColor colour = reader.colorRef();
    created.object = brushOf(style, colour, reader.u32());
    return created;
}

CreatedObject readPatternBrush(const Record& record) {
    RecordReader reader(record);
    CreatedObject created{reader.u32(), {}};
    DibLocation location;
    location.usage = reader.u32();
    location.headerOffset = reader.u32();
    location.headerSize = reader.u32();
    location.bitsOffset = reader.u32();
    location.bitsSize = reader.u32();
    LogicalBrush brush;
    brush.kind = LogicalBrush::Kind::Pattern;
    brush.colour = Qt::black;
    brush.pattern = dibOfRecord(reader, location);
    created.object = brush;
    return created;
}

CreatedObject readExtCreateFontIndirect(const Record& record) {
    RecordReader reader(record);
    CreatedObject created{reader.u32(), {}};
    LogicalFont font;
    font.height = reader.i32();
    font.width = reader.i32();
    font.escapement = reader.i32();
    (void)reader.i32();  // orientation
    font.weight = reader.i32();
    font.italic = reader.u8() != 0;
    font.underline = reader.u8() != 0;
    font.strikeOut = reader.u8() != 0;
    reader.skip(4);  // character set, precisions, quality
    font.pitchAndFamily = reader.u8();
    font.faceName = utf16Text(reader.take(2 * FaceNameCharacters));
    if (const qsizetype end = font.faceName.indexOf(QChar(0)); end >= 0) {
        font.faceName.truncate(end);
    }
    created.object = font;
    return created;
}

}  // namespace pictarium::emf
