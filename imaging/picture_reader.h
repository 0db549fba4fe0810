#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace pictarium {

// What reading a picture file chosen by the user came to.
struct PictureReading {
    enum class Outcome {
        Loaded,   // `picture` holds the file's picture
        Ignored,  // the extension is in neither group: nothing to say
        Refused,  // the file could not be read: say refusalText()
    };
    Outcome outcome = Outcome::Ignored;
    QImage picture;  // a bitmap without transparency when Loaded, else null
    QString path;    // the file read
    // When Refused for being over the pixel limit: the picture's size.
    QSize tooLarge;
};

// Reads a picture file the way the add command and the start-up do: the
// extension picks the platform's loader (group A) or the imaging component
// (group B) or nothing, and the chosen reader recognises the content.
[[nodiscard]] PictureReading readPictureFile(const QString& path);

// What to tell the user about a refused file, naming it.
[[nodiscard]] QString refusalText(const PictureReading& reading);

}  // namespace pictarium
