#pragma once

#include "imaging/metafile/emf_canvas_p.h"
#include "imaging/metafile/emf_device_context_p.h"
#include "imaging/metafile/emf_header_p.h"
#include "imaging/metafile/emf_object_records_p.h"
#include "imaging/metafile/emf_record_p.h"
#include "imaging/metafile/emfplus_player_p.h"

#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <cstdint>
#include <map>
#include <vector>

namespace pictarium::emf {

// Which EMF+ records a player draws: none, all, or all but the metafile
// images (in a metafile that is itself such an image).
enum class PlusRecords { Ignored, Drawn, DrawnWithoutMetafiles };

// Plays a metafile's records one by one onto a bitmap, keeping the device
// context they change. Records it does not know are skipped; a record
// too short for its own fields throws MalformedPicture.
class Player {
public:
    // When the EMF+ records the comments carry are drawn, plain records
    // are only where those hand the device over.
    Player(const Header& header, QImage& picture, PlusRecords plus = PlusRecords::Ignored);

    // Plays one record; false once the end-of-file record is reached.
    bool play(const Record& record);

private:
    // The EMF+ records of a comment record (emf_player.cpp)
    void playPlusComment(const Record& record);

    // Device context state (emf_player.cpp)
    void playState(const Record& record);
    void saveContext();
    void restoreContext(std::int32_t which);
    void modifyWorldTransform(const Record& record);
    void setWindowOrViewport(const Record& record);
    void scaleExtent(const Record& record);

    // Objects (emf_player_objects.cpp)
    void storeObject(CreatedObject created);
    void selectObject(std::uint32_t index);
    void deleteObject(std::uint32_t index);
    // The brush an index names; the selected brush when it names none.
    [[nodiscard]] LogicalBrush brushAt(std::uint32_t index) const;

    // Lines and shapes (emf_player_drawing.cpp)
    void playDrawing(const Record& record);
    void drawPoints(std::uint32_t type, const Record& record);
    void drawPolyPoints(std::uint32_t type, const Record& record);
    void drawPolyDraw(const Record& record, bool shortCoordinates);
    void drawBoxShape(std::uint32_t type, const Record& record);
    void drawAngleArc(const Record& record);
    void lineTo(QPointF point);
    void setPixel(const Record& record);

    // Path brackets and clipping (emf_player_paths.cpp)
    void playPath(const Record& record);
    void paintBracketPath(bool fill, bool stroke);
    void widenPath();
    void combineClip(const QPainterPath& area, std::uint32_t mode);
    void selectClipRegion(const Record& record);
    void clipToRectangle(const Record& record, bool exclude);
    void offsetClip(const Record& record);

    // Bitmaps and raster fills (emf_player_raster.cpp)
    void playBlit(const Record& record);
    void playStretchDib(const Record& record);
    void playDibToDevice(const Record& record);
    void playGradientFill(const Record& record);
    void fillRegion(const Record& record, bool withOwnBrush);
    void fillWithoutSource(const QRectF& destination, std::uint32_t operation);
    void placeBitmap(const QImage& image, const QRectF& source, const QRectF& destination,
                     QPainter::CompositionMode mode, double opacity = 1);

    // Text (emf_player_text.cpp)
    void playText(const Record& record, bool wide);

    // Logical units to the bitmap's pixels, as the context stands.
    [[nodiscard]] QTransform toPicture() const;
    // Draws a shape given in logical units, or adds it to the path being built.
    void drawShape(const QPainterPath& shape, bool fill, bool stroke);
    // Draws lines that go on from the current position, or adds them to
    // the figure being built.
    void drawContinuation(const QPainterPath& lines);
    void paintInPicture(QPainterPath path, bool fill, bool stroke);

    QPointF mPixelsPerMm;
    QTransform mDeviceToPicture;
    QRectF mPictureArea;
    Canvas mCanvas;
    std::optional<emfplus::Player> mPlus;
    DeviceContext mContext;
    std::vector<DeviceContext> mSavedContexts;
    std::map<std::uint32_t, GdiObject> mObjects;
    bool mBuildingPath = false;
    bool mFigureStarted = false;
    QPainterPath mPath;  // in the bitmap's pixels, as GDI keeps paths in device units
};

}  // namespace pictarium::emf
