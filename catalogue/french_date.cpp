#include "catalogue/french_date_p.h"

#include <QLocale>

namespace pictarium {

QString frenchLongDate(QDate date) {
    return QLocale(QLocale::French, QLocale::France).toString(date, QStringLiteral("d MMMM yyyy"));
}

}  // namespace pictarium
