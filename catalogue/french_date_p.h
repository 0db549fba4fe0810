#pragma once

#include <QDate>
#include <QString>

namespace pictarium {

// "9 décembre 2026", "1er mars 2027".
[[nodiscard]] QString frenchLongDate(QDate date);

}  // namespace pictarium
