#pragma once

#include "tests/imaging/byte_writer.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <optional>

namespace pictarium::test {

// Builds a Windows metafile record by record, its parameters in the
// file's own order (most of them last argument first).
class WmfWriter {
public:
    // A placeable file: the bounding box in logical units, and how many of
    // them make an inch. Without one, a plain file.
    explicit WmfWriter(std::optional<QRect> placed = std::nullopt, int unitsPerInch = 96)
        : mPlaced(placed), mUnitsPerInch(unitsPerInch) {}

    // Any record: its function and its parameters, as bytes or 16-bit words.
    WmfWriter& record(int function, const QByteArray& parameters);
    WmfWriter& words(int function, std::initializer_list<int> words) {
        return record(function, ByteWriter().u16les(words).result());
    }

    WmfWriter& setWindow(QRect window) {
        words(0x020B, {window.top(), window.left()});
        return words(0x020C, {window.height(), window.width()});
    }
    WmfWriter& createPen(int style, int width, QRgb colour) {
        return record(0x02FA,
                      ByteWriter().u16les({style, width, 0}).u32le(colorRef(colour)).result());
    }
    WmfWriter& createBrush(int style, QRgb colour, int hatch = 0) {
        return record(0x02FC,
                      ByteWriter().u16le(style).u32le(colorRef(colour)).u16le(hatch).result());
    }
    WmfWriter& createFont(int height, const QString& face, int charset = 0);
    WmfWriter& createRegion(const QList<QRect>& spans);
    WmfWriter& selectObject(int slot) { return words(0x012D, {slot}); }
    WmfWriter& deleteObject(int slot) { return words(0x01F0, {slot}); }
    // A rectangle of edges: right and bottom are where it ends.
    WmfWriter& rectangle(QRect edges) {
        return words(0x041B, {edges.bottom(), edges.right(), edges.top(), edges.left()});
    }
    WmfWriter& moveTo(QPoint point) { return words(0x0214, {point.y(), point.x()}); }
    WmfWriter& lineTo(QPoint point) { return words(0x0213, {point.y(), point.x()}); }
    WmfWriter& extTextOut(QPoint reference, const QByteArray& text,
                          const QList<int>& advances = {});
    // A bottom-up 24-bit DIB of the picture, stretched onto `destination`
    // by the raster operation (a copy by default).
    WmfWriter& stretchDib(const QImage& picture, QRect destination,
                          std::uint32_t operation = 0x00CC0020);

    // The file: headers, records and the end-of-file record.
    [[nodiscard]] QByteArray finish() const;

private:
    std::optional<QRect> mPlaced;
    int mUnitsPerInch;
    ByteWriter mRecords;
    int mLargestRecord = 3;
};

}  // namespace pictarium::test
