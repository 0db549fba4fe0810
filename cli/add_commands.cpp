// add and import: pictures read from files, then added in one rewrite.

#include "cli/commands_p.h"

#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "imaging/picture_fit.h"
#include "imaging/picture_reader.h"

#include <QDir>
#include <QFile>
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

// The lines of an import list, "PATH<TAB>TEXT"; nothing when the list
// cannot be read or a line is not of that form, the reason said.
std::optional<QList<PictureToAdd>> readList(const QString& listPath) {
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("Impossible de lire la liste « %1 ».").arg(listPath));
        return std::nullopt;
    }
    const QDir folder = QFileInfo(listPath).absoluteDir();
    const QStringList lines = QString::fromUtf8(list.readAll()).split(u'\n');
    QList<PictureToAdd> wanted;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (i == 0 && line.startsWith(QChar::ByteOrderMark)) {
            line.remove(0, 1);
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QString where = QStringLiteral("%1, ligne %2 : ").arg(listPath).arg(i + 1);
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0) {
            printError(where + QStringLiteral("le chemin de l'image et sa description doivent "
                                              "être séparés par une tabulation."));
            return std::nullopt;
        }
        wanted.append({QDir::cleanPath(folder.filePath(line.left(tab))), line.mid(tab + 1), where});
    }
    if (wanted.isEmpty()) {
        printError(QStringLiteral("La liste « %1 » ne nomme aucune image : rien n'est ajouté.")
                       .arg(listPath));
        return std::nullopt;
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
