#pragma once

#include <QString>
#include <QStringList>

namespace pictarium {

// Converts a common-dialog filter, "Name|*.a;*.b|Name|*.c", into the name
// filters of QFileDialog, "Name (*.a *.b)". The name is kept as written,
// parentheses and all; the patterns follow in the parentheses Qt reads.
[[nodiscard]] QStringList nameFiltersOf(const QString& filter);

// The 1-based index of the filter the box reports as selected, in the
// form it shows or in full; 0 when none matches.
[[nodiscard]] int filterIndexOf(const QStringList& nameFilters, const QString& selected);

}  // namespace pictarium
