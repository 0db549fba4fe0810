#include "imaging/picture_reader.h"

#include "imaging/file_extensions.h"
#include "imaging/imaging_control.h"
#include "imaging/picture_decoding_p.h"

#include <QDir>

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
    return QStringLiteral("L'image du fichier « %1 » ne peut pas être lue !")
        .arg(QDir::toNativeSeparators(reading.path));
}

}  // namespace pictarium
