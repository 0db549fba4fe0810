#pragma once

#include "imaging/metafile/emf_canvas_p.h"
#include "imaging/metafile/emfplus_objects_p.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QPainterPath>
#include <QTransform>

#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace pictarium::emfplus {

// Plays the EMF+ (GDI+) records that a metafile's comment records carry,
// onto the same canvas as its plain records. Records it does not know
// are skipped; one too short for its own fields throws MalformedPicture.
class Player {
public:
    // `deviceToPicture` takes the recording device's pixels to the bitmap's;
    // without `drawsMetafileImages`, images that are metafiles are left out.
    Player(emf::Canvas& canvas, const QTransform& deviceToPicture, bool drawsMetafileImages);

    // Plays the EMF+ records of one comment record's data (after its
    // "EMF+" signature).
    void playRecords(QByteArrayView records);

    // Whether the plain records that follow are to be drawn: GDI+ hands
    // the device over to them with a GetDC record, until its next record.
    [[nodiscard]] bool drawsPlainRecords() const { return mPlainRecordsDrawn; }

private:
    struct State {
        QTransform world;
        std::uint32_t pageUnit = 1;
        double pageScale = 1;
        std::optional<QPainterPath> clip;  // the bitmap's pixels
    };

    void play(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playState(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playTransform(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playClip(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playShape(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playImage(std::uint16_t type, std::uint16_t flags, QByteArrayView data);
    void playString(std::uint16_t flags, QByteArrayView data);
    void playDriverString(std::uint16_t flags, QByteArrayView data);
    void storeObject(std::uint16_t flags, QByteArrayView data);
    [[nodiscard]] const QImage* metafilePicture(MetafileImage& image, QSizeF size);

    [[nodiscard]] QTransform toPicture() const;
    [[nodiscard]] QTransform pageToDevice() const;
    [[nodiscard]] Brush brushOf(std::uint16_t flags, std::uint32_t value) const;
    [[nodiscard]] std::optional<QPen> penAt(std::uint32_t index) const;
    void fill(const QPainterPath& shape, const Brush& brush);
    void stroke(const QPainterPath& shape, std::uint32_t penIndex);
    void combineClip(const QPainterPath& worldArea, std::uint32_t mode, bool infinite = false);
    void drawText(const QString& text, const QList<QPointF>& positions, const QRectF& layout,
                  std::uint16_t fontIndex, const Brush& brush, const StringFormat& format);

    emf::Canvas& mCanvas;
    QTransform mDeviceToPicture;
    double mDpi = 96;
    State mState;
    std::map<std::uint32_t, State> mSaved;
    std::array<Object, 64> mObjects;
    QByteArray mContinuedObject;
    std::uint32_t mContinuedSize = 0;
    bool mPlainRecordsDrawn = false;
    bool mDrawsMetafileImages = false;
    double mMetafileImageCost = 0;  // pixels and bytes drawn so far, against a budget
};

// Whether a metafile is drawn by its EMF+ records, as GDI+ draws it: it
// holds them, and either nothing else draws outside the parts GDI+ hands
// to plain records, or every one is drawn here. A dual file, which holds a
// whole plain copy too, is drawn from that copy when it holds EMF+ records
// that are not.
[[nodiscard]] bool isDrawnByPlusRecords(QByteArrayView metafile);

}  // namespace pictarium::emfplus
