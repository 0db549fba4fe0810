#pragma once

#include "imaging/file_extensions.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace pictarium {

// The imaging component: reads picture files of many formats into a held
// picture and writes the held picture as BMP, JPEG or PNG. One instance serves
// one use and is then dropped. Every operation either completes or throws
// a RunFailure.
//
// Numeric arguments keep the component's own meanings:
// - LoadImage(name, bits, page, pages): bits 0 keeps the file's depth,
//   page 0 is the first page, and one page is read.
// - ConvertColorDepth(bits, colourFlags, palette, dither): only 24 bits is
//   supported (true colour, nothing to dither); the other three are unused.
// - SaveImage(name, format, bits, quality, options): format 6 is a BMP
//   file, 10 a JFIF (JPEG) file, 13 a PNG file; see picture_writer.h for
//   the qualities.
class ImagingControl {
public:
    static constexpr std::int16_t BitmapFormat = 6;
    static constexpr std::int16_t JfifFormat = 10;
    static constexpr std::int16_t PngFormat = 13;  // ours: the component wrote no PNG

    ImagingControl() = default;
    ImagingControl(const ImagingControl&) = delete;
    ImagingControl& operator=(const ImagingControl&) = delete;

    // The file's picture, recognised by its content, becomes the held
    // picture. Files of the formats that carry no signature (TGA, MacPaint,
    // Dr Halo) are known by their extension.
    void LoadImage(const QString& fileName, std::int16_t bits, std::int32_t page,
                   std::int32_t pages);
    // The same, for a name whose extension has been taken already.
    void LoadImage(const PictureFileName& file, std::int16_t bits, std::int32_t page,
                   std::int32_t pages);
    // The held picture, a bitmap without transparency; null when none.
    [[nodiscard]] QImage ImagePicture() const { return mPicture; }
    void TakePicture(const QImage& picture);
    void ConvertColorDepth(std::int16_t bits, std::int16_t colourFlags, std::int16_t palette,
                           std::int16_t dither);
    [[nodiscard]] std::int16_t ImageBits() const;
    void SaveImage(const QString& fileName, std::int16_t format, std::int16_t bits,
                   std::int16_t quality, std::int16_t options) const;
    // Only 0 is accepted: it releases the held picture.
    void setImageHandle(std::int16_t handle);

private:
    void requirePicture() const;

    QImage mPicture;
};

}  // namespace pictarium
