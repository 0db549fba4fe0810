#include "imaging/picture_reader.h"

#include "engine/engine_texts.h"
#include "imaging/file_extensions.h"
#include "imaging/imaging_control.h"
#include "imaging/platform_picture_loader.h"

#include <QDir>

namespace pictarium {

namespace {

// Call sequence of the component for one file: load, take the picture,
// release the held copy.
QImage loadThroughImagingControl(const QString& path) {
    ImagingControl control;
    control.LoadImage(path, 0, 0, 1);
    QImage picture = control.ImagePicture();
    control.setImageHandle(0);
    return picture;
}

QImage loadByGroup(ExtensionGroup group, const QString& path) {
    return group == ExtensionGroup::PlatformLoader ? LoadPicture(path)
                                                   : loadThroughImagingControl(path);
}

}  // namespace

PictureReading readPictureFile(const QString& path) {
    const ExtensionGroup group = extensionGroupOf(GetFileExtension(path));
    if (group == ExtensionGroup::Ignored) {
        return {};
    }
    PictureReading reading;
    try {
        reading.picture = loadByGroup(group, path);
    } catch (...) {
        // Every failure of a reader, whatever its kind, is the same
        // refusal for the user.
        reading.picture = QImage();
    }
    if (reading.picture.isNull()) {
        reading.outcome = PictureReading::Outcome::Refused;
        reading.refusal = unreadablePictureMessage(path);
        return reading;
    }
    reading.outcome = PictureReading::Outcome::Loaded;
    return reading;
}

Message unreadablePictureMessage(const QString& path) {
    Message message;
    message.text = QStringLiteral("L'image du fichier « %1 » ne peut pas être lue !")
                       .arg(QDir::toNativeSeparators(path));
    message.title = EngineText::Title;
    message.icon = MessageIcon::Stop;
    message.buttons = MessageButtons::Ok;
    return message;
}

}  // namespace pictarium
