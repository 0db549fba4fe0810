#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QTransform>

#include <cstdint>

namespace pictarium::emf {

// What the header record says about the whole picture.
struct Header {
    // The picture's frame in hundredths of a millimetre.
    double frameLeft = 0;
    double frameTop = 0;
    double frameWidth = 0;
    double frameHeight = 0;
    // Size of the whole metafile in bytes, header included.
    std::uint32_t fileBytes = 0;
    // Pixels per millimetre of the device the picture was recorded on.
    double devicePixelsPerMmX = 0;
    double devicePixelsPerMmY = 0;
};

// Reads and checks the header record at the start of the bytes; throws
// MalformedPicture when they are not a complete metafile's header.
[[nodiscard]] Header readHeader(QByteArrayView bytes);

// A metafile has no pixel size of its own: a drawing whose size at 96
// dots per inch would pass 25 million pixels (a poster drawn at full size)
// is drawn smaller instead of refused. The factor that brings a width and
// height in pixels within that, or 1.
[[nodiscard]] double fittingScale(double width, double height);

// The bitmap's size: the frame at 96 dots per inch, fitted as above.
[[nodiscard]] QSize pictureSize(const Header& header);

// From the recording device's pixels to the bitmap's pixels.
[[nodiscard]] QTransform deviceToPicture(const Header& header);

}  // namespace pictarium::emf
