#pragma once

#include "engine/engine_host.h"

#include <QString>

#include <cstdint>

namespace pictarium::EngineText {

// The words the engine says to the user.
inline const QString Title = QStringLiteral("Tessaline Pictarium");
inline const QString PreviousTitle = QStringLiteral("PICTARIUM");
inline const QString BadBaseName = QStringLiteral("nom de base incorrect !");
inline const QString ReplaceExisting =
    QStringLiteral("Le fichier existe déjà, voulez vous le remplacer ?");
inline const QString CannotDeleteOpenBase =
    QStringLiteral("Impossible de supprimer une base de données ouverte !");
inline const QString FileNotFound = QStringLiteral("Fichier introuvable !");
inline const QString NotAPictariumFile =
    QStringLiteral("Ce fichier n'est pas un fichier Pictarium, ouverture impossible !");
inline const QString CloseOpenBase =
    QStringLiteral("Une base est déjà ouverte, souhaitez vous la fermer ?");
inline const QString OpenBaseFirst = QStringLiteral("Ouvrez d'abord une base de données !");
inline const QString BaseNotFound = QStringLiteral("Base de données introuvable !");
inline const QString LastRecord = QStringLiteral("Dernier enregistrement !");
inline const QString FirstRecord = QStringLiteral("Premier enregistrement !");
inline const QString CorruptPicture = QStringLiteral(
    "Impossible d'obtenir l'image de cet index !!! Votre base de données doit être corrompue !");
inline const QString TextTooLong = QStringLiteral("Le texte ne doit pas dépasser 255 caractères !");
inline const QString TextMissing = QStringLiteral("Indiquez un texte svp !");
inline const QString PictureMissing = QStringLiteral("Ajouter d'abord une image !");
inline const QString NothingToDelete = QStringLiteral("Il n'ya rien à supprimer !");
inline const QString BadIndex = QStringLiteral("Index incorrect !");
inline const QString NothingToSearch = QStringLiteral("Il n'ya rien à rechercher !");
inline const QString SearchTextMissing = QStringLiteral("Indiquez un texte à rechercher !");
inline const QString NothingFound = QStringLiteral("Aucun élément trouvé !");
inline const QString BaseBusy = QStringLiteral(
    "La base est en cours de modification par un autre programme. Réessayez dans un instant.");
inline const QString BaseChanged =
    QStringLiteral("La base a été modifiée par un autre programme : elle est rouverte.");
// Said after "Dépassement de capacité" when a base would outgrow its offsets.
inline const QString BaseTooLarge =
    QStringLiteral("la base atteindrait 2 Go, la taille maximale d'une base.");

inline const QString SaveNameRefused =
    QStringLiteral("Choisissez un nom en .bmp, .jpg ou .png : l'image n'a pas été enregistrée.");

// What a progress box or line says while a long operation runs.
inline const QString AddingPicture = QStringLiteral("Ajout de l'image…");
inline const QString AddingPictures = QStringLiteral("Ajout des images…");
inline const QString DeletingRecord = QStringLiteral("Suppression de l'enregistrement…");
inline const QString DeletingRecords = QStringLiteral("Suppression des enregistrements…");
inline const QString ChangingText = QStringLiteral("Modification de la description…");
inline const QString ChangingTexts = QStringLiteral("Modification des descriptions…");
inline const QString MovingRecord = QStringLiteral("Déplacement de l'enregistrement…");
inline const QString RestoringRecords = QStringLiteral("Restauration depuis la corbeille…");
inline const QString RecoveringBase = QStringLiteral("Récupération des enregistrements…");
inline const QString WaitingForBase =
    QStringLiteral("La base est en cours de modification par un autre programme, attente…");

// The words for `operation`; `total` is 0 or less while it waits for the
// base.
[[nodiscard]] inline QString progressLabel(LongOperation operation, std::int64_t total) {
    if (total <= 0) {
        return WaitingForBase;
    }
    switch (operation) {
        case LongOperation::AddingPicture:
            return AddingPicture;
        case LongOperation::AddingPictures:
            return AddingPictures;
        case LongOperation::DeletingRecord:
            return DeletingRecord;
        case LongOperation::DeletingRecords:
            return DeletingRecords;
        case LongOperation::ChangingText:
            return ChangingText;
        case LongOperation::ChangingTexts:
            return ChangingTexts;
        case LongOperation::MovingRecord:
            return MovingRecord;
        case LongOperation::RestoringRecords:
            return RestoringRecords;
        case LongOperation::RecoveringBase:
            return RecoveringBase;
    }
    return WaitingForBase;
}

// Said by the delete that makes the oldest records leave a full trash.
[[nodiscard]] inline QString trashOverflow(int left) {
    return QStringLiteral(
               "La corbeille de cette base est pleine : %1 enregistrement(s) parmi les "
               "plus anciens en sont sortis pour de bon.")
        .arg(left);
}

// Said of the base a recovery would write when it is the damaged base.
inline const QString RecoverOntoDamaged =
    QStringLiteral("La nouvelle base doit être un autre fichier que la base endommagée.");

}  // namespace pictarium::EngineText
