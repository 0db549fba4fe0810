#include "window/file_dialog_filter_p.h"

namespace pictarium {

QStringList nameFiltersOf(const QString& filter) {
    QStringList nameFilters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        nameFilters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                           QLatin1Char(')'));
    }
    return nameFilters;
}

}  // namespace pictarium
