#include "cli/commands_p.h"

#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "engine/engine_texts.h"
#include "engine/exported_name.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/picture_reader.h"
#include "imaging/picture_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pictarium::cli {

namespace {

const QStringList ExportFormats{QStringLiteral("png"), QStringLiteral("bmp"),
                                QStringLiteral("jpg")};

// Saves the picture on show as "Enregistrer sous..." does, replacing the
// file `target`.
bool saveShownPicture(EngineSession& session, const QString& target) {
    return session.engine().SaveFileInDsk(session.host().lastPicture(), target);
}

bool writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        printError(QStringLiteral("Impossible d'écrire le fichier « %1 ».").arg(path));
    }
    return written;
}

// An empty base is left for the engine to refuse in its own words.
bool selectUnlessEmpty(EngineSession& session, std::int32_t index) {
    return session.engine().recordCount() <= 0 || session.select(index);
}

QString listLine(std::int32_t index, const IndexEntry& entry, const QString& text) {
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(QString::number(index), QString::number(entry.TextLength),
             QString::number(entry.PicLength), text);
}

// Writes each record's picture into `folder`, then the index of them.
ExitStatus exportAll(EngineSession& session, const QString& baseName, const QDir& folder,
                     const QString& format) {
    if (!session.open(baseName)) {
        return ExitStatus::Failure;
    }
    const std::int32_t count = session.engine().recordCount();
    QStringList index;
    bool everyRecordSaved = true;
    StepCounter saving(QStringLiteral("Export des images"), count);
    for (std::int32_t record = 0; record < count; ++record) {
        // A record that cannot be read is said and left out; the others go.
        const QString name = exportedPictureName(record, format);
        if (session.show(record) && saveShownPicture(session, folder.filePath(name))) {
            index.append(name + u'\t' + session.host().lastText());
        } else {
            everyRecordSaved = false;
            if (!session.engine().isBaseOpen() || session.host().sawBaseChange()) {
                break;
            }
        }
        saving.step();
    }
    if (session.host().sawBaseChange()) {
        return ExitStatus::Failure;
    }
    const QByteArray lines = index.isEmpty() ? QByteArray() : (index.join(u'\n') + u'\n').toUtf8();
    const bool indexWritten = writeWholeFile(folder.filePath(QStringLiteral("index.tsv")), lines);
    return statusOf(everyRecordSaved && indexWritten);
}

}  // namespace

ExitStatus runCreate(const Invocation& call) {
    EngineSession session(call.hasOption(YesOption));
    return statusOf(session.engine().CreateBDP(call.argument(0)));
}

ExitStatus runList(const Invocation& call) {
    return readAgainOnChange([&](EngineSession& session) {
        if (!session.open(call.argument(0))) {
            return ExitStatus::Failure;
        }
        // Texts and lengths only: no picture is read, whatever its size.
        // The lines wait for the end, in case the list starts again.
        QStringList lines;
        bool everyRecordRead = true;
        for (std::int32_t index = 0; index < session.engine().recordCount(); ++index) {
            if (session.select(index)) {
                lines.append(listLine(index, session.engine().currentEntry(),
                                      session.engine().currentText()));
                continue;
            }
            everyRecordRead = false;
            if (!session.engine().isBaseOpen() || session.host().sawBaseChange()) {
                break;
            }
        }
        if (session.host().sawBaseChange()) {
            return ExitStatus::Failure;
        }
        for (const QString& line : std::as_const(lines)) {
            printOut(line);
        }
        return statusOf(everyRecordRead);
    });
}

ExitStatus runPicture(const Invocation& call) {
    const auto index = parseIndex(call.argument(1));
    if (!index) {
        return reportBadIndex(call.argument(1), call.command());
    }
    return readAgainOnChange([&](EngineSession& session) {
        if (!session.open(call.argument(0)) || !session.show(*index)) {
            return ExitStatus::Failure;
        }
        // The base keeps no size field; a file on disk needs a true one.
        return statusOf(writeWholeFile(call.argument(2),
                                       withFileSizeField(session.engine().currentPictureFile())));
    });
}

ExitStatus runExport(const Invocation& call) {
    const auto index = parseIndex(call.argument(1));
    if (!index) {
        return reportBadIndex(call.argument(1), call.command());
    }
    // The name is checked before the base is read, as the engine would.
    const QString target = call.argument(2);
    if (!savedFormatOf(target)) {
        printError(EngineText::SaveNameRefused);
        return ExitStatus::Failure;
    }
    return readAgainOnChange([&](EngineSession& session) {
        if (!session.open(call.argument(0)) || !session.show(*index)) {
            return ExitStatus::Failure;
        }
        return statusOf(saveShownPicture(session, target));
    });
}

ExitStatus runExportAll(const Invocation& call) {
    const QString format = call.hasOption(FormatOption) ? call.optionValue(FormatOption).toLower()
                                                        : QStringLiteral("png");
    if (!ExportFormats.contains(format)) {
        return reportUsageError(
            QStringLiteral("format inconnu « %1 » : png, bmp ou jpg est attendu.")
                .arg(call.optionValue(FormatOption)),
            call.command());
    }
    const QDir folder(call.argument(1));
    if (!QDir().mkpath(folder.path())) {
        printError(QStringLiteral("Impossible de créer le dossier « %1 ».").arg(folder.path()));
        return ExitStatus::Failure;
    }
    return readAgainOnChange([&](EngineSession& session) {
        return exportAll(session, call.argument(0), folder, format);
    });
}

ExitStatus runSearch(const Invocation& call) {
    const QString fromText = call.optionValue(FromOption);
    const auto from = parseIndex(fromText);
    if (!from) {
        return reportBadIndex(fromText, call.command());
    }
    return readAgainOnChange([&](EngineSession& session) {
        if (!session.open(call.argument(0)) || !selectUnlessEmpty(session, *from)) {
            return ExitStatus::Failure;
        }
        const int deliveredBefore = session.host().deliveredRecords();
        if (!session.engine().SearchBDP(call.argument(1), call.hasOption(BackwardOption))) {
            return ExitStatus::Failure;
        }
        // A hit whose picture does not load is found but not shown; the
        // engine has said so.
        if (session.host().deliveredRecords() == deliveredBefore) {
            return ExitStatus::Failure;
        }
        printOut(QString::number(session.engine().currentIndex()));
        return ExitStatus::Success;
    });
}

ExitStatus runInfo(const Invocation& call) {
    std::optional<std::int32_t> at;
    if (call.hasOption(AtOption)) {
        at = parseIndex(call.optionValue(AtOption));
        if (!at) {
            return reportBadIndex(call.optionValue(AtOption), call.command());
        }
    }
    return readAgainOnChange([&](EngineSession& session) {
        if (!session.open(call.argument(0)) || (at && !session.select(*at))) {
            return ExitStatus::Failure;
        }
        session.host().setInformationToStandardOutput(true);
        const bool shown = session.engine().GetInfosBDP();
        session.host().setInformationToStandardOutput(false);
        return statusOf(shown);
    });
}

}  // namespace pictarium::cli
