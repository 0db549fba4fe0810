#include "cli/commands_p.h"

#include "base/binary_file.h"
#include "base/run_errors.h"
#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "engine/base_recovery.h"
#include "engine/bdp_format.h"
#include "engine/engine_texts.h"

namespace pictarium::cli {

namespace {

QString recordLine(const RecoveredRecord& record) {
    QByteArray text = record.text;
    FlipBytes(text);
    const QString source = record.source == RecoveredRecord::Source::Index ? QStringLiteral("index")
                                                                           : QStringLiteral("scan");
    return QStringLiteral("%1\t%2\t%3")
        .arg(source, QString::number(record.textOffset), BytesToText(text));
}

QString summaryLine(const RecoveryReport& report) {
    return QStringLiteral(
               "%1 enregistrement(s) récupéré(s), %2 enregistrement(s) de l'index "
               "illisible(s), %3 octet(s) hors des enregistrements récupérés.")
        .arg(QString::number(report.records.size()), QString::number(report.unreadableIndexRecords),
             QString::number(report.unclaimedBytes));
}

}  // namespace

ExitStatus runRecover(const Invocation& call) {
    const QString damagedName = call.argument(0);
    const QString newName = call.argument(1);
    if (!hasBdpName(newName)) {
        printError(EngineText::BadBaseName);
        return ExitStatus::Failure;
    }
    BinaryFile damaged;
    try {
        damaged = BinaryFile::openForReading(damagedName);
    } catch (const RunFailure&) {
        printError(QStringLiteral("Impossible d'ouvrir la base « %1 ».").arg(damagedName));
        return ExitStatus::Failure;
    }
    RecoveryOptions options;
    options.keepCutPictures = call.hasOption(PartialOption);
    const RecoveryReport found = findRecoverableRecords(damaged, options);
    if (found.records.empty()) {
        printOut(summaryLine(found));
        printError(QStringLiteral("Aucun enregistrement n'a pu être récupéré : « %1 » n'est pas "
                                  "écrite.")
                       .arg(newName));
        return ExitStatus::Failure;
    }
    EngineSession session(call.hasOption(YesOption));
    if (!session.engine().RecoverBDP(damaged, found, newName)) {
        return ExitStatus::Failure;
    }
    for (const RecoveredRecord& record : found.records) {
        printOut(recordLine(record));
    }
    printOut(summaryLine(found));
    return ExitStatus::Success;
}

}  // namespace pictarium::cli
