#pragma once

#include <QDate>
#include <QString>

namespace pictarium {

// "9 décembre 2026".
[[nodiscard]] QString frenchLongDate(QDate date);

}  // namespace pictarium
