#pragma once

#include "engine/engine_host.h"

#include <QImage>
#include <QString>

namespace pictarium {

// What reading a picture file chosen by the user came to.
struct PictureReading {
    enum class Outcome {
        Loaded,   // `picture` holds the file's picture
        Ignored,  // the extension is in neither group: nothing to say
        Refused,  // the file could not be read: show `refusal`
    };
    Outcome outcome = Outcome::Ignored;
    QImage picture;   // a bitmap without transparency when Loaded, else null
    Message refusal;  // a stop box naming the file when Refused
};

// Reads a picture file the way the add command and the start-up do: the
// extension picks the platform's loader (group A) or the imaging component
// (group B) or nothing, and the chosen reader recognises the content.
[[nodiscard]] PictureReading readPictureFile(const QString& path);

// The stop box for a file whose picture cannot be read.
[[nodiscard]] Message unreadablePictureMessage(const QString& path);

}  // namespace pictarium
