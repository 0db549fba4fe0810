#include "tests/imaging/metafile/wmf_writer.h"

#include <algorithm>

namespace pictarium::test {

QByteArray colourRef(QRgb colour) {
    ByteWriter bytes;
    bytes.u8(qRed(colour)).u8(qGreen(colour)).u8(qBlue(colour)).u8(0);
    return bytes.result();
}

WmfWriter::WmfWriter(std::optional<QRect> placed, int unitsPerInch)
    : mPlaced(placed), mUnitsPerInch(unitsPerInch) {}

WmfWriter& WmfWriter::record(int function, const QByteArray& parameters) {
    QByteArray padded = parameters;
    if (padded.size() % 2 != 0) {
        padded.append('\0');
    }
    const int words = 3 + static_cast<int>(padded.size() / 2);
    mLargestRecord = std::max(mLargestRecord, words);
    mRecords.u32le(static_cast<std::uint32_t>(words)).u16le(function).bytes(padded);
    return *this;
}

WmfWriter& WmfWriter::words(int function, const QList<int>& words) {
    ByteWriter parameters;
    for (const int word : words) {
        parameters.u16le(word);
    }
    return record(function, parameters.result());
}

WmfWriter& WmfWriter::setWindow(QRect window) {
    words(0x020B, {window.top(), window.left()});
    return words(0x020C, {window.height(), window.width()});
}

WmfWriter& WmfWriter::createPen(int style, int width, QRgb colour) {
    ByteWriter parameters;
    parameters.u16le(style).u16le(width).u16le(0).bytes(colourRef(colour));
    return record(0x02FA, parameters.result());
}

WmfWriter& WmfWriter::createBrush(int style, QRgb colour, int hatch) {
    ByteWriter parameters;
    parameters.u16le(style).bytes(colourRef(colour)).u16le(hatch);
    return record(0x02FC, parameters.result());
}

WmfWriter& WmfWriter::createFont(int height, const QString& face, int charset) {
    ByteWriter parameters;
    parameters.u16le(height).u16le(0).u16le(0).u16le(0).u16le(400);
    parameters.u8(0).u8(0).u8(0).u8(charset).u8(0).u8(0).u8(0).u8(0x22);
    parameters.bytes(face.toLatin1()).u8(0);
    return record(0x02FB, parameters.result());
}

WmfWriter& WmfWriter::createRegion(const QList<QRect>& spans) {
    ByteWriter scans;
    QRect bounds;
    for (const QRect& span : spans) {
        bounds = bounds.isNull() ? span : bounds.united(span);
        scans.u16le(2).u16le(span.top()).u16le(span.bottom() + 1);
        scans.u16le(span.left()).u16le(span.right() + 1).u16le(2);
    }
    ByteWriter parameters;
    parameters.u16le(0).u16le(6).u32le(0).u16le(static_cast<int>(22 + scans.size()));
    parameters.u16le(static_cast<int>(spans.size())).u16le(2);
    parameters.u16le(bounds.left()).u16le(bounds.top());
    parameters.u16le(bounds.right() + 1).u16le(bounds.bottom() + 1);
    parameters.bytes(scans.result());
    return record(0x06FF, parameters.result());
}

WmfWriter& WmfWriter::selectObject(int slot) {
    return words(0x012D, {slot});
}

WmfWriter& WmfWriter::deleteObject(int slot) {
    return words(0x01F0, {slot});
}

WmfWriter& WmfWriter::rectangle(QRect edges) {
    return words(0x041B, {edges.bottom(), edges.right(), edges.top(), edges.left()});
}

WmfWriter& WmfWriter::moveTo(QPoint point) {
    return words(0x0214, {point.y(), point.x()});
}

WmfWriter& WmfWriter::lineTo(QPoint point) {
    return words(0x0213, {point.y(), point.x()});
}

WmfWriter& WmfWriter::extTextOut(QPoint reference, const QByteArray& text,
                                 const QList<int>& advances) {
    ByteWriter parameters;
    parameters.u16le(reference.y()).u16le(reference.x());
    parameters.u16le(static_cast<int>(text.size())).u16le(0).bytes(text);
    if (text.size() % 2 != 0) {
        parameters.u8(0);
    }
    for (const int advance : advances) {
        parameters.u16le(advance);
    }
    return record(0x0A32, parameters.result());
}

WmfWriter& WmfWriter::stretchDib(const QImage& picture, QRect destination,
                                 std::uint32_t operation) {
    const int rowBytes = (picture.width() * 3 + 3) & ~3;
    ByteWriter parameters;
    parameters.u32le(operation).u16le(0);  // colours in the table
    parameters.u16le(picture.height()).u16le(picture.width()).u16le(0).u16le(0);
    parameters.u16le(destination.height()).u16le(destination.width());
    parameters.u16le(destination.top()).u16le(destination.left());
    parameters.u32le(40).u32le(static_cast<std::uint32_t>(picture.width()));
    parameters.u32le(static_cast<std::uint32_t>(picture.height())).u16le(1).u16le(24);
    parameters.u32le(0).u32le(static_cast<std::uint32_t>(rowBytes * picture.height()));
    parameters.u32le(0).u32le(0).u32le(0).u32le(0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        const qsizetype start = parameters.size();
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            parameters.u8(qBlue(pixel)).u8(qGreen(pixel)).u8(qRed(pixel));
        }
        parameters.padTo(start + rowBytes);
    }
    return record(0x0F43, parameters.result());
}

QByteArray WmfWriter::finish() const {
    ByteWriter file;
    if (mPlaced) {
        file.u32le(0x9AC6CDD7).u16le(0);
        file.u16le(mPlaced->left()).u16le(mPlaced->top());
        file.u16le(mPlaced->right() + 1).u16le(mPlaced->bottom() + 1);
        file.u16le(mUnitsPerInch).u32le(0);
        int checksum = 0;
        for (int i = 0; i < 20; i += 2) {
            checksum ^= static_cast<uchar>(file.result()[i]) |
                        (static_cast<uchar>(file.result()[i + 1]) << 8);
        }
        file.u16le(checksum);
    }
    const auto words = static_cast<std::uint32_t>((18 + mRecords.size() + 6) / 2);
    file.u16le(1).u16le(9).u16le(0x0300).u32le(words);
    file.u16le(8).u32le(static_cast<std::uint32_t>(mLargestRecord)).u16le(0);
    file.bytes(mRecords.result());
    file.u32le(3).u16le(0);  // end of file
    return file.result();
}

}  // namespace pictarium::test
