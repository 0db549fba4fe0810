#pragma once

#include "imaging/metafile/wmf_records_p.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

namespace pictarium::wmf {

// Turns Windows metafile records into the enhanced-metafile records that
// draw the same, so that both formats play through one player. WMF numbers
// its objects by the lowest free slot and keeps regions and palettes among
// them; the translator keeps that table and names each object by its slot.
class Translator {
public:
    // The records that set the mapping a WMF is played with: its window
    // onto a viewport of `pictureSize` pixels.
    [[nodiscard]] static std::vector<QByteArray> startRecords(QRect window, QSize pictureSize);

    // The enhanced records for one record; none for one that draws nothing
    // here (palettes, escapes, the viewport that the picture replaces).
    [[nodiscard]] std::vector<QByteArray> translate(const Record& record);

private:
    struct Slot {
        enum class Kind { Free, Drawing, Font, Palette, Region };
        Kind kind = Kind::Free;
        std::uint8_t charset = 0;
        QList<QRect> rectangles;  // a region's, in logical units
    };

    [[nodiscard]] std::vector<QByteArray> translateState(const Record& record);
    [[nodiscard]] std::vector<QByteArray> translateWindow(const Record& record);
    [[nodiscard]] std::vector<QByteArray> translateObject(const Record& record);
    [[nodiscard]] std::vector<QByteArray> translateRegion(const Record& record);
    [[nodiscard]] std::vector<QByteArray> translateText(const Record& record);

    // The slot a new object takes, or none when the table is full.
    [[nodiscard]] std::uint32_t occupySlot(Slot slot);
    [[nodiscard]] const Slot* slotAt(std::uint16_t index) const;
    [[nodiscard]] std::vector<QByteArray> selectObject(std::uint16_t index);
    [[nodiscard]] std::vector<QByteArray> deleteObject(std::uint16_t index);

    std::vector<Slot> mSlots;
    std::uint8_t mCharset = 0;  // of the selected font
    QPoint mWindowOrigin;
    std::vector<QPoint> mSavedOrigins;
    std::vector<std::uint8_t> mSavedCharsets;
};

}  // namespace pictarium::wmf
