#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

namespace pictarium {

// One record as the catalogue prints it.
struct CatalogueRecord {
    int position = 0;  // 1-based, as the user counts
    QString description;
    QImage picture;  // null when the record's picture could not be read
};

// Gives the record at `index` (0-based within the catalogue) when asked,
// one at a time, so that only one full-size picture is held at once;
// nothing to stop the printing.
using CatalogueSource = std::function<std::optional<CatalogueRecord>(qsizetype index)>;

}  // namespace pictarium
