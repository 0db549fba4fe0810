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

int filterIndexOf(const QStringList& nameFilters, const QString& selected) {
    for (qsizetype i = 0; i < nameFilters.size(); ++i) {
        const QString& nameFilter = nameFilters[i];
        // With the details hidden, the box gives back the name without its
        // final parenthesised patterns.
        const QString shown = nameFilter.left(nameFilter.lastIndexOf(QLatin1Char('('))).trimmed();
        if (selected == nameFilter || selected == shown) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace pictarium
