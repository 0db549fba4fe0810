#pragma once

#include <QImage>
#include <QString>

namespace pictarium::cli {

struct PictureFile {
    QImage picture;  // null when the file could not be read
    QString error;   // in French, naming the file
};

// Reads a picture file with whatever format Qt's readers know.
[[nodiscard]] PictureFile readPictureFile(const QString& path);

}  // namespace pictarium::cli
