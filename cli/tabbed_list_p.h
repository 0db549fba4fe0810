#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace pictarium::cli {

// One line of a list: what comes before its first tab, what comes after,
// and "liste.tsv, ligne 3 : " to name it in messages.
struct ListLine {
    QString key;
    QString text;
    QString where;
};

// The lines of a UTF-8 list, with or without its byte order mark, CRLF
// taken, empty lines skipped. Nothing when the list cannot be read or a
// line has no tab with something before it: then `missingTab` is said,
// after the line's place.
[[nodiscard]] std::optional<QList<ListLine>> readTabbedList(const QString& listPath,
                                                            const QString& missingTab);

}  // namespace pictarium::cli
