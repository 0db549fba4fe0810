#include "imaging/metafile/emf_header_p.h"

#include "imaging/metafile/emf_record_p.h"
#include "imaging/metafile/emf_record_types_p.h"

#include <cmath>

namespace pictarium::emf {

namespace {

constexpr qsizetype MinimumHeaderSize = 88;
constexpr std::uint32_t Signature = 0x464D4520;  // " EMF"
constexpr double PicturePixelsPerMm = 96 / 25.4;

// A recording device that gives no usable size is taken to be a 96 dpi screen.
double pixelsPerMm(std::int32_t pixels, std::int32_t millimetres) {
    if (pixels <= 0 || millimetres <= 0) {
        return PicturePixelsPerMm;
    }
    return static_cast<double>(pixels) / millimetres;
}

}  // namespace

Header readHeader(QByteArrayView bytes) {
    RecordStream stream(bytes);
    const Record record = stream.next();
    requireValid(record.type == RecordType::Header && record.bytes.size() >= MinimumHeaderSize);
    RecordReader reader(record);
    reader.skipBounds();
    const RectL frame = reader.rectL();
    requireValid(reader.u32() == Signature);
    (void)reader.u32();  // version
    Header header;
    header.fileBytes = reader.u32();
    reader.skip(20);  // records, handles, reserved, description, palette entries
    const std::int32_t devicePixelsX = reader.i32();
    const std::int32_t devicePixelsY = reader.i32();
    const std::int32_t deviceMmX = reader.i32();
    const std::int32_t deviceMmY = reader.i32();

    requireValid(header.fileBytes >= record.bytes.size() && header.fileBytes <= bytes.size());
    header.frameLeft = frame.left;
    header.frameTop = frame.top;
    header.frameWidth = static_cast<double>(frame.right) - frame.left;
    header.frameHeight = static_cast<double>(frame.bottom) - frame.top;
    requireValid(header.frameWidth > 0 && header.frameHeight > 0);
    header.devicePixelsPerMmX = pixelsPerMm(devicePixelsX, deviceMmX);
    header.devicePixelsPerMmY = pixelsPerMm(devicePixelsY, deviceMmY);
    return header;
}

double fittingScale(double width, double height) {
    constexpr double LargestPixels = 25e6;
    const double pixels = width * height;
    return pixels > LargestPixels ? std::sqrt(LargestPixels / pixels) : 1.0;
}

namespace {

double frameScale(const Header& header) {
    return fittingScale(header.frameWidth / 100 * PicturePixelsPerMm,
                        header.frameHeight / 100 * PicturePixelsPerMm);
}

}  // namespace

QSize pictureSize(const Header& header) {
    const double scale = frameScale(header);
    const auto pixels = [scale](double hundredthsOfMm) {
        return std::max(1.0, std::round(hundredthsOfMm / 100 * PicturePixelsPerMm * scale));
    };
    // Sizes beyond int are left for the pixel limit to refuse.
    const double width = std::min(pixels(header.frameWidth), 1e9);
    const double height = std::min(pixels(header.frameHeight), 1e9);
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

QTransform deviceToPicture(const Header& header) {
    const double left = header.frameLeft / 100 * header.devicePixelsPerMmX;
    const double top = header.frameTop / 100 * header.devicePixelsPerMmY;
    const double scale = frameScale(header);
    return QTransform::fromTranslate(-left, -top) *
           QTransform::fromScale(scale * PicturePixelsPerMm / header.devicePixelsPerMmX,
                                 scale * PicturePixelsPerMm / header.devicePixelsPerMmY);
}

}  // namespace pictarium::emf
