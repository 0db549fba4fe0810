#include "imaging/platform_picture_loader.h"

#include "imaging/picture_decoding.h"

#include <algorithm>

namespace pictarium {

namespace {

bool isPlatformFormat(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bitmap:
        case PictureFormat::Icon:
        case PictureFormat::Gif:
        case PictureFormat::Jpeg:
        case PictureFormat::Metafile:
        case PictureFormat::EnhancedMetafile:
            return true;
        default:
            return false;
    }
}

}  // namespace

QImage LoadPicture(const QString& fileName) {
    return loadPictureFile(fileName, [](QByteArrayView bytes) {
        const PictureFormat format =
            sniffPictureFormat(bytes.first(std::min(bytes.size(), SniffLength)));
        return isPlatformFormat(format) ? format : PictureFormat::Unknown;
    });
}

}  // namespace pictarium
