#include "cli/commands_p.h"

#include "base/binary_file.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "catalogue/catalogue_printer.h"
#include "cli/binary_file_device_p.h"
#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "engine/description_match.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <optional>

namespace pictarium::cli {

namespace {

struct ChosenRecord {
    std::int32_t index = 0;
    QString text;
};

// The records whose description holds the filter, from their texts alone:
// no picture is read. Nothing when a text could not be read (said already).
std::optional<QList<ChosenRecord>> chooseRecords(EngineSession& session,
                                                 const std::optional<DescriptionMatch>& filter) {
    QList<ChosenRecord> chosen;
    for (std::int32_t index = 0; index < session.engine().recordCount(); ++index) {
        if (!session.select(index)) {
            return std::nullopt;
        }
        const QString text = session.engine().currentText();
        if (!filter || filter->matches(text)) {
            chosen.append({index, text});
        }
    }
    return chosen;
}

// Prints the chosen records, each picture read when its turn comes. A
// picture that cannot be read is said and left as an empty frame; a base
// replaced meanwhile stops the printing.
bool printRecords(EngineSession& session, QPdfWriter& writer, const QString& baseName,
                  const QList<ChosenRecord>& chosen, int columns, bool& everyPictureRead) {
    CataloguePrinter printer(writer, QFileInfo(baseName).fileName(), QDate::currentDate(), columns);
    return printer.print(chosen.size(), [&](qsizetype position) -> std::optional<CatalogueRecord> {
        const ChosenRecord& record = chosen.at(position);
        // Straight to the record: the texts were read, its picture was not.
        if (session.engine().MoveTo(record.index) &&
            session.engine().currentIndex() == record.index) {
            return CatalogueRecord{record.index + 1, record.text, session.host().takeLastPicture()};
        }
        if (!session.engine().isBaseOpen() || session.host().sawBaseChange()) {
            return std::nullopt;
        }
        everyPictureRead = false;
        return CatalogueRecord{record.index + 1, record.text, QImage()};
    });
}

// Prints into `file` as an A4 PDF; false when the printing stopped. A
// failed write is thrown, with its number.
bool printInto(BinaryFile& file, const QString& title,
               const std::function<bool(QPdfWriter&)>& print) {
    BinaryFileDevice device(file);
    QPdfWriter writer(&device);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Pictarium"));
    const bool printed = print(writer);
    if (device.failure()) {
        throw *device.failure();
    }
    return printed;
}

// Writes the PDF beside `target` and puts it in its place once whole, so
// that a failed write (a full disk, a folder closed to us) leaves no half
// file; the failure is said as the export says its own, naming the file.
bool writePdf(const QString& target, const QString& title,
              const std::function<bool(QPdfWriter&)>& print) {
    const QString staging = swapStagingPath(target);
    try {
        BinaryFile file = BinaryFile::create(staging);
        if (!printInto(file, title, print)) {
            file.close();
            removeFileQuietly(staging);
            return false;
        }
        file.sync();
        file.close();
        replaceFile(staging, target);
        return true;
    } catch (...) {
        removeFileQuietly(staging);
        printError(runErrorText(runErrorOfCurrentException(), QDir::toNativeSeparators(target)));
        return false;
    }
}

// Whether the two names are one file, such as the base given twice.
bool isSameFile(const QString& first, const QString& second) {
    const std::optional<FileStatus> one = pictarium::statusOf(first);
    const std::optional<FileStatus> other = pictarium::statusOf(second);
    return one && other && one->device == other->device && one->inode == other->inode;
}

// An empty PDF would help no one: says why there is nothing to print.
void refuseEmptyCatalogue(EngineSession& session, const Invocation& call) {
    if (session.engine().recordCount() == 0) {
        printError(QStringLiteral("La base « %1 » n'a aucun enregistrement : pas de catalogue.")
                       .arg(QDir::toNativeSeparators(call.argument(0))));
        return;
    }
    printError(QStringLiteral("Aucune description ne contient « %1 » : pas de catalogue.")
                   .arg(call.optionValue(FilterOption)));
}

ExitStatus writeCatalogue(EngineSession& session, const Invocation& call, int columns) {
    const QString baseName = call.argument(0);
    if (!session.open(baseName)) {
        return ExitStatus::Failure;
    }
    if (isSameFile(baseName, call.argument(1))) {
        printError(QStringLiteral("« %1 » est la base elle-même : le catalogue ne la remplace pas.")
                       .arg(QDir::toNativeSeparators(call.argument(1))));
        return ExitStatus::Failure;
    }
    std::optional<DescriptionMatch> filter;
    if (call.hasOption(FilterOption)) {
        filter.emplace(call.optionValue(FilterOption));
    }
    const std::optional<QList<ChosenRecord>> chosen = chooseRecords(session, filter);
    if (!chosen) {
        return ExitStatus::Failure;
    }
    if (chosen->isEmpty()) {
        refuseEmptyCatalogue(session, call);
        return ExitStatus::Failure;
    }
    bool everyPictureRead = true;
    const bool written =
        writePdf(call.argument(1), QFileInfo(baseName).fileName(), [&](QPdfWriter& writer) {
            return printRecords(session, writer, baseName, *chosen, columns, everyPictureRead);
        });
    return statusOf(written && everyPictureRead);
}

}  // namespace

ExitStatus runCatalogue(const Invocation& call) {
    int columns = CataloguePrinter::DefaultColumns;
    if (call.hasOption(ColumnsOption)) {
        const auto chosen = parseIndex(call.optionValue(ColumnsOption));
        if (!chosen || *chosen < CataloguePrinter::MinColumns ||
            *chosen > CataloguePrinter::MaxColumns) {
            return reportUsageError(
                QStringLiteral("nombre de colonnes incorrect « %1 » : de %2 à %3 est attendu.")
                    .arg(call.optionValue(ColumnsOption),
                         QString::number(CataloguePrinter::MinColumns),
                         QString::number(CataloguePrinter::MaxColumns)),
                call.command());
        }
        columns = *chosen;
    }
    return readAgainOnChange(
        [&](EngineSession& session) { return writeCatalogue(session, call, columns); });
}

}  // namespace pictarium::cli
