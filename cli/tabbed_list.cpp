#include "cli/tabbed_list_p.h"

#include "cli/console_p.h"

#include <QFile>

namespace pictarium::cli {

std::optional<QList<ListLine>> readTabbedList(const QString& listPath, const QString& missingTab) {
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("Impossible de lire la liste « %1 ».").arg(listPath));
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(list.readAll()).split(u'\n');
    QList<ListLine> read;
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
            printError(where + missingTab);
            return std::nullopt;
        }
        read.append({line.left(tab), line.mid(tab + 1), where});
    }
    return read;
}

}  // namespace pictarium::cli
