#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace pictarium {

enum class SavedFormat { Bitmap, Jpeg, Png };

// The format a picture saved under `fileName` is written in, from its
// extension whatever its case: .bmp, .jpg or .jpeg, .png. Nothing for any
// other name: no picture is written under a name that lies about it.
[[nodiscard]] std::optional<SavedFormat> savedFormatOf(const QString& fileName);

// The extension of each format, for a name that has none.
[[nodiscard]] QString extensionOf(SavedFormat format);

// Writes the picture as a 24-bit BMP file (BITMAPINFOHEADER, no palette),
// replacing any file of that name. Throws a RunFailure when the file
// cannot be written; a failed write may leave a partial file.
void writeBitmapFile(const QImage& picture, const QString& fileName);

// Writes the picture as a 24-bit PNG file.
void writePngFile(const QImage& picture, const QString& fileName);

// Writes the picture as a baseline JFIF file at the quality that the
// imaging component's quality factor stands for (jpegQualityOf).
void writeJpegFile(const QImage& picture, const QString& fileName, int qualityFactor);

// The component's quality factor runs from 2 (best) to 255 (smallest
// file); libjpeg's quality from 100 down. The export asks for 25, which is
// made libjpeg quality 85: with 4:2:0 chroma and optimised Huffman tables
// this is the usual "good photo" setting: artefacts invisible at full size,
// a file of some 5 to 10 % of the 24-bit bitmap. Factors between the
// anchors 2 -> 100, 25 -> 85 and 255 -> 5 are interpolated.
[[nodiscard]] int jpegQualityOf(int qualityFactor);

}  // namespace pictarium
