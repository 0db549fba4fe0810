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
    explicit WmfWriter(std::optional<QRect> placed = std::nullopt, int unitsPerInch = 96);

    // Any record: its function and its parameters, as bytes or 16-bit words.
    WmfWriter& words(int function, const QList<int>& words);
    WmfWriter& record(int function, const QByteArray& parameters);

    WmfWriter& setWindow(QRect window);
    WmfWriter& createPen(int style, int width, QRgb colour);
    WmfWriter& createBrush(int style, QRgb colour, int hatch = 0);
    WmfWriter& createFont(int height, const QString& face, int charset = 0);
    WmfWriter& createRegion(const QList<QRect>& spans);
    WmfWriter& selectObject(int slot);
    WmfWriter& deleteObject(int slot);
    // A rectangle of edges: right and bottom are where it ends.
    WmfWriter& rectangle(QRect edges);
    WmfWriter& moveTo(QPoint point);
    WmfWriter& lineTo(QPoint point);
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

[[nodiscard]] QByteArray colourRef(QRgb colour);

}  // namespace pictarium::test
