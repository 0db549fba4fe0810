#pragma once

#include <QString>
#include <QStringList>

namespace pictarium {

// Converts a common-dialog filter, "Name|*.a;*.b|Name|*.c", into the name
// filters of QFileDialog, "Name (*.a *.b)". The name is kept as written,
// parentheses and all; the patterns follow in the parentheses Qt reads.
[[nodiscard]] QStringList nameFiltersOf(const QString& filter);

}  // namespace pictarium
