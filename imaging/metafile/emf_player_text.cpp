#include "imaging/metafile/emf_player_p.h"

#include "base/windows_1252.h"
#include "imaging/metafile/emf_text_p.h"

namespace pictarium::emf {

namespace {

QString narrowText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        text.append(fromWindows1252(static_cast<unsigned char>(byte)));
    }
    return text;
}

// The advance of each character; with vertical advances too, every other value.
QList<double> readAdvances(const RecordReader& reader, std::uint32_t offset,
                           std::uint32_t characters, bool withVertical) {
    if (offset == 0) {
        return {};
    }
    const std::uint64_t byteCount = std::uint64_t{characters} * (withVertical ? 8 : 4);
    requireValid(byteCount <= UINT32_MAX);
    const QByteArrayView bytes = reader.part(offset, static_cast<std::uint32_t>(byteCount));
    requireValid(bytes.size() == static_cast<qsizetype>(byteCount));
    RecordReader values(Record{0, bytes}, 0);
    QList<double> advances;
    advances.reserve(characters);
    for (std::uint32_t i = 0; i < characters; ++i) {
        advances.append(values.i32());
        if (withVertical) {
            (void)values.i32();
        }
    }
    return advances;
}

QList<quint32> glyphNumbers(QByteArrayView bytes, bool wide) {
    RecordReader values(Record{0, bytes}, 0);
    QList<quint32> glyphs;
    const qsizetype count = wide ? bytes.size() / 2 : bytes.size();
    glyphs.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        glyphs.append(wide ? values.u16() : values.u8());
    }
    return glyphs;
}

}  // namespace

void Player::playText(const Record& record, bool wide) {
    RecordReader reader(record);
    reader.skipBounds();
    reader.skip(12);  // graphics mode and the scales of the recording device
    TextRun run;
    run.reference = reader.pointL();
    const std::uint32_t characters = reader.u32();
    const std::uint32_t textOffset = reader.u32();
    run.options = reader.u32();
    if ((run.options & TextOption::NoRectangle) == 0) {
        const RectL rectangle = reader.rectL();
        if (rectangle.right > rectangle.left && rectangle.bottom > rectangle.top) {
            run.rectangle = rectangle.toRectF();
        }
    }
    const std::uint32_t advancesOffset = reader.u32();

    const std::uint64_t textBytes = std::uint64_t{characters} * (wide ? 2 : 1);
    requireValid(textBytes <= static_cast<std::uint64_t>(record.bytes.size()));
    const QByteArrayView text = reader.part(textOffset, static_cast<std::uint32_t>(textBytes));
    requireValid(text.size() == static_cast<qsizetype>(textBytes));
    if ((run.options & TextOption::GlyphIndices) != 0) {
        run.glyphs = glyphNumbers(text, wide);
    } else {
        run.text = wide ? utf16Text(text) : narrowText(text);
    }
    run.advances = readAdvances(reader, advancesOffset, characters,
                                (run.options & TextOption::VerticalAdvances) != 0);

    const bool fromCurrentPosition = (mContext.textAlign & TextAlign::UpdateCurrentPosition) != 0;
    if (fromCurrentPosition) {
        run.reference = mContext.currentPosition;
    }
    const double width = drawTextRun(mCanvas.painter(), mContext, toPicture(), run);
    if (fromCurrentPosition) {
        mContext.currentPosition.rx() += width;
    }
}

}  // namespace pictarium::emf
