#include "base/run_errors.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <new>

namespace pictarium {

QString runErrorDescription(int number) {
    switch (number) {
        case RunError::InvalidProcedureCall:
            return QStringLiteral("Argument ou appel de procédure incorrect");
        case RunError::Overflow:
            return QStringLiteral("Dépassement de capacité");
        case RunError::OutOfMemory:
            return QStringLiteral("Mémoire insuffisante");
        case RunError::SubscriptOutOfRange:
            return QStringLiteral("L'indice n'appartient pas à la sélection");
        case RunError::InternalError:
            return QStringLiteral("Erreur interne");
        case RunError::BadFileName:
            return QStringLiteral("Nom ou numéro de fichier incorrect");
        case RunError::FileNotFound:
            return QStringLiteral("Fichier introuvable");
        case RunError::FileAlreadyOpen:
            return QStringLiteral("Fichier déjà ouvert");
        case RunError::DeviceIoError:
            return QStringLiteral("Erreur d'entrée/sortie de périphérique");
        case RunError::FileAlreadyExists:
            return QStringLiteral("Fichier déjà existant");
        case RunError::DiskFull:
            return QStringLiteral("Disque plein");
        case RunError::InputPastEndOfFile:
            return QStringLiteral("Entrée au-delà de la fin du fichier");
        case RunError::BadRecordNumber:
            return QStringLiteral("Numéro d'enregistrement incorrect");
        case RunError::TooManyFiles:
            return QStringLiteral("Trop de fichiers");
        case RunError::DeviceUnavailable:
            return QStringLiteral("Périphérique non disponible");
        case RunError::PermissionDenied:
            return QStringLiteral("Permission refusée");
        case RunError::DiskNotReady:
            return QStringLiteral("Disque non prêt");
        case RunError::RenameAcrossDisks:
            return QStringLiteral("Impossible de renommer avec un lecteur différent");
        case RunError::PathFileAccessError:
            return QStringLiteral("Erreur d'accès au chemin/fichier");
        case RunError::PathNotFound:
            return QStringLiteral("Chemin d'accès introuvable");
        case RunError::InvalidPropertyValue:
            return QStringLiteral("Valeur de propriété non valide");
        case RunError::InvalidPicture:
            return QStringLiteral("Image incorrecte");
        case RunError::CancelSelected:
            return QStringLiteral("Annulation sélectionnée");
        default:
            return QStringLiteral("Erreur définie par l'application ou par l'objet");
    }
}

static bool parentFolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).absoluteDir().exists();
}

int runErrorFromErrno(int errnoValue, const QString& path) {
    switch (errnoValue) {
        case ENOENT:
            return parentFolderExists(path) ? RunError::FileNotFound : RunError::PathNotFound;
        case ENOTDIR:
            return RunError::PathNotFound;
        case EACCES:
        case EPERM:
            return RunError::PermissionDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return RunError::DiskFull;
        case EEXIST:
            return RunError::FileAlreadyExists;
        case EMFILE:
        case ENFILE:
            return RunError::TooManyFiles;
        case EIO:
            return RunError::DeviceIoError;
        case ENXIO:
        case ENODEV:
            return RunError::DeviceUnavailable;
        case ENOMEM:
            return RunError::OutOfMemory;
        case EXDEV:
            return RunError::RenameAcrossDisks;
        case ENAMETOOLONG:
        case EBADF:
            return RunError::BadFileName;
        case EOVERFLOW:
            return RunError::Overflow;
        default:
            return RunError::PathFileAccessError;
    }
}

QString runErrorText(int number, const QString& detail) {
    QString text = QStringLiteral("Erreur ") + QString::number(number) + QStringLiteral("\r\n") +
                   runErrorDescription(number);
    if (!detail.isEmpty()) {
        text += QStringLiteral(" : ") + detail;
    }
    return text;
}

RunFailure runFailureOfCurrentException() {
    try {
        throw;
    } catch (const RunFailure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return RunFailure(RunError::OutOfMemory);
    } catch (...) {
        return RunFailure(RunError::InternalError);
    }
}

int runErrorOfCurrentException() {
    return runFailureOfCurrentException().number();
}

}  // namespace pictarium
