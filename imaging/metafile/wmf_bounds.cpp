#include "imaging/metafile/wmf_bounds_p.h"

#include "imaging/metafile/wmf_records_p.h"

#include <cstdlib>

namespace pictarium::wmf {

namespace {

constexpr int DefaultFontHeight = 12;

class Bounds {
public:
    void add(QPoint point) {
        mArea = mArea ? mArea->united(QRect(point, point)) : QRect(point, point);
    }
    void add(const QRect& edges) {
        add(edges.topLeft());
        add(edges.bottomRight());
    }
    void addPoints(ParameterReader& reader, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            const int x = reader.i16();
            add(QPoint(x, reader.i16()));
        }
    }
    void addText(QPoint reference, int characters, int fontHeight) {
        add(reference);
        add(reference + QPoint(characters * fontHeight / 2, fontHeight));
    }
    [[nodiscard]] std::optional<QRect> area() const { return mArea; }

private:
    std::optional<QRect> mArea;
};

void addPolyPolygon(Bounds& bounds, ParameterReader& reader) {
    const std::uint16_t polygons = reader.u16();
    qsizetype total = 0;
    for (std::uint16_t i = 0; i < polygons; ++i) {
        total += reader.u16();
    }
    bounds.addPoints(reader, total);
}

void addText(Bounds& bounds, const Record& record, int fontHeight) {
    ParameterReader reader(record);
    if (record.function == Function::TextOut) {
        const std::uint16_t length = reader.u16();
        reader.skip(length + length % 2);
        bounds.addText(reader.pointYX(), length, fontHeight);
        return;
    }
    const QPoint reference = reader.pointYX();
    bounds.addText(reference, reader.u16(), fontHeight);
}

}  // namespace

std::optional<QRect> drawingBounds(QByteArrayView records) {
    Bounds bounds;
    int fontHeight = DefaultFontHeight;
    RecordStream stream(records);
    while (!stream.atEnd()) {
        const Record record = stream.next();
        ParameterReader reader(record);
        switch (record.function) {
            case Function::EndOfFile:
                return bounds.area();
            case Function::CreateFontIndirect:
                fontHeight = std::abs(reader.i16());
                break;
            case Function::MoveTo:
            case Function::LineTo:
                bounds.add(reader.pointYX());
                break;
            case Function::RoundRect:
                reader.skip(4);
                bounds.add(reader.edgesBRTL());
                break;
            case Function::Arc:
            case Function::Pie:
            case Function::Chord:
                reader.skip(8);
                bounds.add(reader.edgesBRTL());
                break;
            case Function::Rectangle:
            case Function::Ellipse:
                bounds.add(reader.edgesBRTL());
                break;
            case Function::Polygon:
            case Function::Polyline:
                bounds.addPoints(reader, reader.u16());
                break;
            case Function::PolyPolygon:
                addPolyPolygon(bounds, reader);
                break;
            case Function::TextOut:
            case Function::ExtTextOut:
                addText(bounds, record, fontHeight);
                break;
            default:
                break;
        }
    }
    return bounds.area();
}

}  // namespace pictarium::wmf
