#include "imaging/metafile/wmf_reader.h"

#include "imaging/metafile/embedded_metafile_p.h"
#include "imaging/metafile/emf_header_p.h"
#include "imaging/metafile/emf_player_p.h"
#include "imaging/metafile/wmf_bounds_p.h"
#include "imaging/metafile/wmf_records_p.h"
#include "imaging/metafile/wmf_translator_p.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pictarium {

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr qsizetype PlaceableHeaderSize = 22;
constexpr qsizetype HeaderSize = 18;
constexpr int LargestUnplacedSide = 1024;
constexpr double PicturePixelsPerMm = 96 / 25.4;

// What the headers say: the records, and for a placeable file the
// picture's window in logical units and how many of them make an inch.
struct Layout {
    QByteArrayView records;
    std::optional<QRect> placedWindow;
    int unitsPerInch = 0;
    bool declaredWhole = false;  // the header's size fits in the file
};

// GDI+ writes the placeable header of the metafiles it embeds as its C
// structure, padded to 24 bytes.
qsizetype startOfHeader(QByteArrayView placed) {
    constexpr qsizetype Padded = PlaceableHeaderSize + 2;
    if (placed.size() < Padded + 4) {
        return PlaceableHeaderSize;
    }
    ByteReader reader(placed, PlaceableHeaderSize);
    const std::uint16_t padding = reader.u16le();
    const std::uint16_t type = reader.u16le();
    const std::uint16_t headerWords = reader.u16le();
    const bool padded = padding == 0 && (type == 1 || type == 2) && headerWords == HeaderSize / 2;
    return padded ? Padded : PlaceableHeaderSize;
}

Layout readLayout(QByteArrayView bytes) {
    Layout layout;
    ByteReader reader(bytes);
    if (reader.u32le() == PlaceableKey) {
        (void)reader.u16le();  // handle
        const auto edge = [&reader] { return static_cast<std::int16_t>(reader.u16le()); };
        const int left = edge();
        const int top = edge();
        const int right = edge();
        const int bottom = edge();
        layout.placedWindow = QRect(left, top, right - left, bottom - top);
        layout.unitsPerInch = reader.u16le();
        reader = ByteReader(bytes, startOfHeader(bytes));
    } else {
        reader = ByteReader(bytes);
    }
    const qsizetype start = reader.position();
    const std::uint16_t type = reader.u16le();
    const std::uint16_t headerWords = reader.u16le();
    (void)reader.u16le();  // version
    const std::uint32_t words = reader.u32le();
    requireValid((type == 1 || type == 2) && headerWords == HeaderSize / 2);
    reader.skip(HeaderSize - 10);
    const std::uint64_t declaredEnd = start + 2 * std::uint64_t{words};
    layout.declaredWhole = declaredEnd <= static_cast<std::uint64_t>(bytes.size());
    const qsizetype end =
        layout.declaredWhole && declaredEnd >= static_cast<std::uint64_t>(reader.position())
            ? static_cast<qsizetype>(declaredEnd)
            : bytes.size();
    layout.records = bytes.sliced(reader.position(), end - reader.position());
    return layout;
}

// Reaches the end-of-file record or, for a file as long as its header
// says, the end of the records; a file cut short is refused before its
// picture is allocated.
bool isWhole(const Layout& layout) {
    wmf::RecordStream stream(layout.records);
    while (!stream.atEnd()) {
        if (stream.next().function == wmf::Function::EndOfFile) {
            return true;
        }
    }
    return layout.declaredWhole;
}

// The window that the first window records set, for files without a
// placeable header; without them, what the drawing covers.
std::optional<QRect> recordedWindow(QByteArrayView records) {
    wmf::RecordStream stream(records);
    std::optional<QPoint> origin;
    std::optional<QPoint> extent;
    while (!stream.atEnd() && !extent) {
        const wmf::Record record = stream.next();
        wmf::ParameterReader reader(record);
        if (record.function == wmf::Function::SetWindowOrg && !origin) {
            origin = reader.pointYX();
        } else if (record.function == wmf::Function::SetWindowExt) {
            extent = reader.pointYX();
        }
    }
    if (!extent || extent->x() == 0 || extent->y() == 0) {
        return wmf::drawingBounds(records);
    }
    const QPoint topLeft = origin.value_or(QPoint());
    return QRect(topLeft.x(), topLeft.y(), extent->x(), extent->y());
}

QSize pictureSizeOf(const Layout& layout, const QRect& window) {
    const double width = std::abs(static_cast<double>(window.width()));
    const double height = std::abs(static_cast<double>(window.height()));
    double scale = 1;
    if (layout.placedWindow) {
        scale = 96.0 / (layout.unitsPerInch > 0 ? layout.unitsPerInch : 1440);
        scale *= emf::fittingScale(width * scale, height * scale);
    } else {
        scale = std::min(1.0, LargestUnplacedSide / std::max(width, height));
    }
    return QSize(std::max(1, static_cast<int>(std::lround(width * scale))),
                 std::max(1, static_cast<int>(std::lround(height * scale))));
}

// A header for the player that makes the recording device the picture itself.
emf::Header pictureHeader(QSize size) {
    emf::Header header;
    header.frameWidth = size.width() * 100 / PicturePixelsPerMm;
    header.frameHeight = size.height() * 100 / PicturePixelsPerMm;
    header.devicePixelsPerMmX = PicturePixelsPerMm;
    header.devicePixelsPerMmY = PicturePixelsPerMm;
    return header;
}

void play(emf::Player& player, const std::vector<QByteArray>& records) {
    for (const QByteArray& bytes : records) {
        emf::RecordReader reader(emf::Record{0, bytes}, 0);
        player.play(emf::Record{reader.u32(), bytes});
    }
}

void playRecords(const Layout& layout, const QRect& window, QImage& picture) {
    emf::Player player(pictureHeader(picture.size()), picture);
    play(player, wmf::Translator::startRecords(window, picture.size()));
    wmf::Translator translator;
    wmf::RecordStream stream(layout.records);
    while (!stream.atEnd()) {
        const wmf::Record record = stream.next();
        if (record.function == wmf::Function::EndOfFile) {
            return;
        }
        play(player, translator.translate(record));
    }
}

}  // namespace

QImage emf::drawWindowsMetafile(QByteArrayView bytes, const QColor& page, QSize size) {
    try {
        const Layout layout = readLayout(bytes);
        if (!isWhole(layout)) {
            return {};
        }
        const std::optional<QRect> window =
            layout.placedWindow ? layout.placedWindow : recordedWindow(layout.records);
        if (!window || window->width() == 0 || window->height() == 0) {
            return {};
        }
        if (size.isEmpty()) {
            size = pictureSizeOf(layout, *window);
        }
        QImage picture = allocatePicture(size.width(), size.height(), QImage::Format_RGB32);
        picture.fill(page);
        playRecords(layout, *window, picture);
        return picture;
    } catch (const MalformedPicture&) {
        return {};
    }
}

QImage decodeWindowsMetafile(QByteArrayView bytes) {
    return emf::drawWindowsMetafile(bytes, Qt::white);
}

}  // namespace pictarium
