#include "imaging/picture_reader.h"

#include "imaging/core/bitmap_codec.h"
#include "imaging/file_extensions.h"
#include "imaging/imaging_control.h"
#include "imaging/picture_decoding_p.h"

#include <QDir>

#include <algorithm>
#include <climits>

namespace pictarium {

namespace {

// Call sequence of the component for one file: load, take the picture,
// release the held copy.
QImage loadThroughImagingControl(const PictureFileName& name) {
    ImagingControl control;
    control.LoadImage(name, 0, 0, 1);
    QImage picture = control.ImagePicture();
    control.setImageHandle(0);
    return picture;
}

QImage loadByGroup(ExtensionGroup group, const PictureFileName& name) {
    return group == ExtensionGroup::PlatformLoader ? LoadPicture(name)
                                                   : loadThroughImagingControl(name);
}

}  // namespace

PictureReading readPictureFile(const QString& path) {
    const PictureFileName name(path);
    const ExtensionGroup group = extensionGroupOf(name.extension);
    PictureReading reading;
    reading.path = path;
    if (group == ExtensionGroup::Ignored) {
        return reading;
    }
    try {
        reading.picture = loadByGroup(group, name);
    } catch (const PictureTooLarge& size) {
        reading.tooLarge = QSize(static_cast<int>(std::min<std::int64_t>(size.width, INT_MAX)),
                                 static_cast<int>(std::min<std::int64_t>(size.height, INT_MAX)));
        reading.picture = QImage();
    } catch (...) {
        // Every failure of a reader, whatever its kind, is the same
        // refusal for the user.
        reading.picture = QImage();
    }
    reading.outcome = reading.picture.isNull() ? PictureReading::Outcome::Refused
                                               : PictureReading::Outcome::Loaded;
    return reading;
}

QString refusalText(const PictureReading& reading) {
    const QString file = QDir::toNativeSeparators(reading.path);
    if (reading.tooLarge.isValid()) {
        return QStringLiteral("L'image du fichier « %1 » est trop grande : %2.")
            .arg(file, pixelLimitText(reading.tooLarge.width(), reading.tooLarge.height()));
    }
    return QStringLiteral("L'image du fichier « %1 » ne peut pas être lue !").arg(file);
}

}  // namespace pictarium
