#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

#include <cstdint>

namespace pictarium::test {

// How a FlashPix file stores its tiles.
enum class FlashPixTiles { Raw, Jpeg, JpegWithSharedTables, OneColour };

struct FlashPixImage {
    QImage picture;                 // the largest resolution
    int channels = 3;               // 1 grey, 2 grey and opacity, 3 RGB, 4 RGB and opacity
    std::uint32_t colourSpace = 3;  // 1 grey, 2 PhotoYCC, 3 NIF RGB
    FlashPixTiles tiles = FlashPixTiles::Raw;
    bool withSmallerResolution = true;  // a half-size one before it, as files have
};

// A FlashPix file of the picture: its channel values taken from the
// picture's red, green, blue and alpha (grey from red).
[[nodiscard]] QByteArray flashPixFile(const FlashPixImage& image);

}  // namespace pictarium::test
