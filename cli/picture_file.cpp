#include "picture_file.h"

#include <QFileInfo>
#include <QImageReader>

namespace pictarium::cli {

namespace {

QString reasonOf(QImageReader::ImageReaderError error) {
    switch (error) {
        case QImageReader::FileNotFoundError:
            return QStringLiteral("fichier introuvable");
        case QImageReader::DeviceError:
            return QStringLiteral("lecture du fichier impossible");
        case QImageReader::UnsupportedFormatError:
            return QStringLiteral("format d'image non reconnu");
        case QImageReader::InvalidDataError:
            return QStringLiteral("données d'image invalides");
        case QImageReader::UnknownError:
            break;
    }
    return QStringLiteral("image illisible");
}

}  // namespace

PictureFile readPictureFile(const QString& path) {
    if (QFileInfo(path).isDir()) {
        return {QImage(),
                QStringLiteral("Impossible de lire l'image « %1 » : c'est un dossier.").arg(path)};
    }
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull()) {
        return {QImage(), QStringLiteral("Impossible de lire l'image « %1 » : %2.")
                              .arg(path, reasonOf(reader.error()))};
    }
    return {picture, QString()};
}

}  // namespace pictarium::cli
