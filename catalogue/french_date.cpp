#include "catalogue/french_date_p.h"

#include <QLocale>

namespace pictarium {

QString frenchLongDate(QDate date) {
    // The first of the month is written "1er".
    const QString format =
        date.day() == 1 ? QStringLiteral("d'er' MMMM yyyy") : QStringLiteral("d MMMM yyyy");
    return QLocale(QLocale::French, QLocale::France).toString(date, format);
}

}  // namespace pictarium
