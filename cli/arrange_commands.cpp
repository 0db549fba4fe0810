// delete, text, texts, move, trash and restore: records changed in place,
// each command in one rewrite of the base.

#include "cli/commands_p.h"

#include "cli/console_p.h"
#include "cli/engine_session_p.h"
#include "cli/tabbed_list_p.h"
#include "engine/bdp_format.h"

#include <algorithm>
#include <optional>
#include <set>

namespace pictarium::cli {

namespace {

// The indexes of the arguments from `first` on; nothing, the usage error
// reported into `status`, when one is not an index.
std::optional<QList<std::int32_t>> indexesOf(const Invocation& call, qsizetype first,
                                             ExitStatus& status) {
    QList<std::int32_t> indexes;
    for (qsizetype i = first; i < call.argumentCount(); ++i) {
        const std::optional<std::int32_t> index = parseIndex(call.argument(i));
        if (!index) {
            status = reportBadIndex(call.argument(i), call.command());
            return std::nullopt;
        }
        indexes.append(*index);
    }
    return indexes;
}

bool haveRecords(EngineSession& session, const QList<std::int32_t>& indexes) {
    return std::all_of(indexes.begin(), indexes.end(),
                       [&](std::int32_t index) { return session.hasRecord(index); });
}

// The changes a list asks for, "INDEX<TAB>TEXT" a line, and the lines'
// places; nothing when a line is wrong or names no record of the base, the
// reason said.
struct ListedChanges {
    QList<TextChange> changes;
    QStringList where;
};

std::optional<ListedChanges> readChanges(const QString& listPath, EngineSession& session) {
    const std::optional<QList<ListLine>> lines = readTabbedList(
        listPath,
        QStringLiteral("l'index et la description doivent être séparés par une tabulation."));
    if (!lines) {
        return std::nullopt;
    }
    if (lines->isEmpty()) {
        printError(QStringLiteral("La liste « %1 » ne nomme aucun enregistrement : rien n'est "
                                  "modifié.")
                       .arg(listPath));
        return std::nullopt;
    }
    ListedChanges listed;
    for (const ListLine& line : *lines) {
        const std::optional<std::int32_t> index = parseIndex(line.key);
        if (!index) {
            printError(line.where +
                       QStringLiteral("index incorrect « %1 » : un nombre entier de 0 ou plus est "
                                      "attendu.")
                           .arg(line.key));
            return std::nullopt;
        }
        if (!session.hasRecord(*index, line.where)) {
            return std::nullopt;
        }
        listed.changes.append({*index, line.text});
        listed.where.append(line.where);
    }
    return listed;
}

QString trashLine(qsizetype number, const TrashedRecord& record) {
    QByteArray text = record.text;
    FlipBytes(text);
    return QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
        .arg(QString::number(number), record.deleted.toString(Qt::ISODate),
             QString::number(record.formerIndex), QString::number(record.text.size()),
             QString::number(record.pictureLength), BytesToText(text));
}

}  // namespace

ExitStatus runDelete(const Invocation& call) {
    ExitStatus status = ExitStatus::Success;
    const std::optional<QList<std::int32_t>> indexes = indexesOf(call, 1, status);
    if (!indexes) {
        return status;
    }
    const std::set<std::int32_t> distinct(indexes->begin(), indexes->end());
    if (distinct.size() != static_cast<std::size_t>(indexes->size())) {
        printError(QStringLiteral("Un même index est donné deux fois : rien n'est supprimé."));
        return ExitStatus::Failure;
    }
    EngineSession session;
    // Pictures are not read, so that a damaged one can go too; an empty
    // base is left for the engine to refuse in its own words.
    if (!session.openToChange(call.argument(0))) {
        return ExitStatus::Failure;
    }
    if (session.engine().recordCount() > 0 && !haveRecords(session, *indexes)) {
        return ExitStatus::Failure;
    }
    return statusOf(session.engine().DeleteRecordsBDP(*indexes));
}

ExitStatus runText(const Invocation& call) {
    const std::optional<std::int32_t> index = parseIndex(call.argument(1));
    if (!index) {
        return reportBadIndex(call.argument(1), call.command());
    }
    EngineSession session;
    if (!session.openToChange(call.argument(0)) || !session.hasRecord(*index)) {
        return ExitStatus::Failure;
    }
    return statusOf(session.engine().ChangeTextsBDP({{*index, call.argument(2)}}));
}

ExitStatus runTexts(const Invocation& call) {
    EngineSession session;
    if (!session.openToChange(call.argument(0))) {
        return ExitStatus::Failure;
    }
    const std::optional<ListedChanges> listed = readChanges(call.argument(1), session);
    if (!listed) {
        return ExitStatus::Failure;
    }
    qsizetype refused = -1;
    if (session.engine().ChangeTextsBDP(listed->changes, &refused)) {
        return ExitStatus::Success;
    }
    // The engine has said what it refused; here, which line.
    if (refused >= 0) {
        printError(listed->where.at(refused) + QStringLiteral("rien n'est modifié."));
    }
    return ExitStatus::Failure;
}

ExitStatus runMove(const Invocation& call) {
    ExitStatus status = ExitStatus::Success;
    const std::optional<QList<std::int32_t>> places = indexesOf(call, 1, status);
    if (!places) {
        return status;
    }
    EngineSession session;
    if (!session.openToChange(call.argument(0)) || !haveRecords(session, *places)) {
        return ExitStatus::Failure;
    }
    return statusOf(session.engine().MoveRecordBDP(places->at(0), places->at(1)));
}

ExitStatus runTrash(const Invocation& call) {
    EngineSession session;
    if (!session.openToChange(call.argument(0))) {
        return ExitStatus::Failure;
    }
    if (call.hasOption(EmptyOption)) {
        return statusOf(session.engine().EmptyTrashBDP());
    }
    const QList<TrashedRecord> trashed = session.engine().TrashBDP();
    for (qsizetype i = 0; i < trashed.size(); ++i) {
        printOut(trashLine(i + 1, trashed.at(i)));
    }
    return ExitStatus::Success;
}

ExitStatus runRestore(const Invocation& call) {
    ExitStatus status = ExitStatus::Success;
    const std::optional<QList<std::int32_t>> numbers = indexesOf(call, 1, status);
    if (!numbers) {
        return status;
    }
    EngineSession session;
    if (!session.openToChange(call.argument(0))) {
        return ExitStatus::Failure;
    }
    const QList<TrashedRecord> trashed = session.engine().TrashBDP();
    QList<TrashedRecord> chosen;
    std::set<std::int32_t> taken;
    for (const std::int32_t number : *numbers) {
        if (number < 1 || number > trashed.size()) {
            printError(QStringLiteral("Pas d'enregistrement numéro %1 dans la corbeille : elle en "
                                      "compte %2.")
                           .arg(number)
                           .arg(trashed.size()));
            return ExitStatus::Failure;
        }
        if (!taken.insert(number).second) {
            printError(QStringLiteral("Un même numéro est donné deux fois : rien n'est restauré."));
            return ExitStatus::Failure;
        }
        chosen.append(trashed.at(number - 1));
    }
    return statusOf(session.engine().RestoreBDP(chosen));
}

}  // namespace pictarium::cli
