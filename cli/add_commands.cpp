// add and import: pictures read from files, then added in one rewrite.

#include "cli/commands_p.h"

#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "cli/tabbed_list_p.h"
#include "imaging/picture_fit.h"
#include "imaging/picture_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace pictarium::cli {

namespace {

constexpr int LargestFit = 100000;

// One picture to add, and where it was named, for the messages.
struct PictureToAdd {
    QString path;
    QString text;
    QString where;  // "" on the command line; "liste.tsv, ligne 3 : " in a list
};

// Reads the picture as the window reads the one it adds, shrunk to `fit`
// when one is given; a null picture, the reason said, when it cannot be.
QImage readPicture(const PictureToAdd& wanted, const std::optional<QSize>& fit) {
    if (!QFileInfo::exists(wanted.path)) {
        printError(wanted.where +
                   QStringLiteral("Impossible de lire l'image « %1 » : fichier introuvable.")
                       .arg(wanted.path));
        return {};
    }
    PictureReading file = readPictureFile(wanted.path);
    if (file.outcome == PictureReading::Outcome::Ignored) {
        printError(wanted.where + QStringLiteral("« %1 » n'a pas l'extension d'une image "
                                                 "reconnue : rien n'est ajouté.")
                                      .arg(wanted.path));
        return {};
    }
    if (file.outcome == PictureReading::Outcome::Refused) {
        printError(wanted.where + refusalText(file));
        return {};
    }
    return fit ? shrunkToFit(file.picture, *fit) : std::move(file.picture);
}

// "--fit 1920x1080": the box pictures are shrunk into.
std::optional<QSize> parseFit(const QString& text) {
    static const QRegularExpression size(QStringLiteral("^([0-9]{1,6})[xX]([0-9]{1,6})$"));
    const QRegularExpressionMatch match = size.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > LargestFit || height > LargestFit) {
        return std::nullopt;
    }
    return QSize(width, height);
}

// Reads every picture, then adds them all to `baseName` in one rewrite; a
// picture that cannot be read, or a record the engine refuses, stops it
// all before anything is written.
ExitStatus addAll(const Invocation& call, const QString& baseName,
                  const QList<PictureToAdd>& wanted) {
    std::optional<QSize> fit;
    if (call.hasOption(FitOption)) {
        fit = parseFit(call.optionValue(FitOption));
        if (!fit) {
            return reportUsageError(
                QStringLiteral("taille incorrecte « %1 » : LARGEURxHAUTEUR est attendu, par "
                               "exemple 1920x1080.")
                    .arg(call.optionValue(FitOption)),
                call.command());
        }
    }
    QList<NewRecord> records;
    records.reserve(wanted.size());
    {
        StepCounter reading(QStringLiteral("Lecture des images"), wanted.size());
        for (const PictureToAdd& picture : wanted) {
            QImage read = readPicture(picture, fit);
            if (read.isNull()) {
                return ExitStatus::Failure;
            }
            records.append({std::move(read), picture.text});
            reading.step();
        }
    }
    EngineSession session;
    if (!session.openToChange(baseName)) {
        return ExitStatus::Failure;
    }
    qsizetype refused = -1;
    if (session.engine().AddRecordsBDP(std::move(records), &refused)) {
        return ExitStatus::Success;
    }
    // The engine has said what it refused; with several, which one.
    if (refused >= 0 && wanted.size() > 1) {
        const PictureToAdd& picture = wanted.at(refused);
        printError(picture.where.isEmpty()
                       ? QStringLiteral("Image %1 (« %2 ») : rien n'est ajouté.")
                             .arg(refused + 1)
                             .arg(picture.path)
                       : picture.where + QStringLiteral("rien n'est ajouté."));
    }
    return ExitStatus::Failure;
}

// The pictures of an import list, "PATH<TAB>TEXT" a line, a relative path
// taken from the list's folder; nothing when the list names none or cannot
// be read, the reason said.
std::optional<QList<PictureToAdd>> readList(const QString& listPath) {
    const std::optional<QList<ListLine>> lines =
        readTabbedList(listPath, QStringLiteral("le chemin de l'image et sa description doivent "
                                                "être séparés par une tabulation."));
    if (!lines) {
        return std::nullopt;
    }
    if (lines->isEmpty()) {
        printError(QStringLiteral("La liste « %1 » ne nomme aucune image : rien n'est ajouté.")
                       .arg(listPath));
        return std::nullopt;
    }
    const QDir folder = QFileInfo(listPath).absoluteDir();
    QList<PictureToAdd> wanted;
    for (const ListLine& line : *lines) {
        wanted.append({QDir::cleanPath(folder.filePath(line.key)), line.text, line.where});
    }
    return wanted;
}

}  // namespace

ExitStatus runAdd(const Invocation& call) {
    QList<PictureToAdd> wanted;
    for (qsizetype i = 1; i + 1 < call.argumentCount(); i += 2) {
        wanted.append({call.argument(i), call.argument(i + 1), QString()});
    }
    return addAll(call, call.argument(0), wanted);
}

ExitStatus runImport(const Invocation& call) {
    const std::optional<QList<PictureToAdd>> wanted = readList(call.argument(1));
    if (!wanted) {
        return ExitStatus::Failure;
    }
    return addAll(call, call.argument(0), *wanted);
}

}  // namespace pictarium::cli
