#pragma once

#include <QString>

#include <array>

namespace pictarium {

// How a picture file is read, decided by its extension alone.
enum class ExtensionGroup {
    PlatformLoader,    // group A: the platform's picture loader
    ImagingComponent,  // group B: ImagingControl
    Ignored,           // any other extension, or none
};

inline constexpr std::array<const char*, 6> PlatformLoaderExtensions = {"BMP", "WMF", "EMF",
                                                                        "RLE", "ICO", "GIF"};
inline constexpr std::array<const char*, 29> ImagingComponentExtensions = {
    "JPG", "CMP", "JFF", "JTF", "TIF", "MPT", "TGA", "PCX", "DCX", "PIC",
    "CAL", "MAC", "IMG", "MSP", "ITG", "SMP", "PBM", "WPG", "RAS", "PCT",
    "PCD", "FPX", "EPS", "CUT", "PSD", "PNG", "CLP", "SGI", "SCT"};

// What cameras, phones and the web write today, read by their content as
// the imaging component's are.
inline constexpr std::array<const char*, 8> ContentReadExtensions = {
    "JPEG", "JPE", "JFIF", "TIFF", "WEBP", "HEIC", "HEIF", "AVIF"};

// The text after the last "." of the name, upper-cased; empty when the
// name holds no ".". The whole string is searched, folders included.
[[nodiscard]] QString GetFileExtension(const QString& name);

// The group of an extension as GetFileExtension gives it.
[[nodiscard]] ExtensionGroup extensionGroupOf(const QString& extension);

// A picture file's path and its extension, taken once, as they travel
// together from the reader to the decoder.
struct PictureFileName {
    explicit PictureFileName(QString filePath);

    QString path;
    QString extension;  // as GetFileExtension gives it
};

}  // namespace pictarium
