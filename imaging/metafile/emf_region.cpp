#include "imaging/metafile/emf_region_p.h"

namespace pictarium::emf {

namespace {

constexpr qsizetype RegionHeaderSize = 32;
constexpr std::uint32_t MaxRectangles = 4096;

}  // namespace

QPainterPath readRegion(RecordReader& reader) {
    RecordReader header(Record{0, reader.take(RegionHeaderSize)}, 0);
    (void)header.u32();  // header size
    (void)header.u32();  // type
    const std::uint32_t count = header.u32();
    (void)header.u32();  // size of the rectangles
    const RectL bounds = header.rectL();
    requireValid(reader.holds(count, 16));
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (count > MaxRectangles) {
        path.addRect(bounds.toRectF());
        return path;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        path.addRect(reader.rectL().toRectF());
    }
    return path;
}

}  // namespace pictarium::emf
