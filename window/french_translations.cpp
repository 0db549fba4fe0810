#include "window/french_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace pictarium {

std::unique_ptr<QTranslator> installFrenchTranslations() {
    // French dates, sizes and file types in Qt's boxes too, whatever the
    // session's language.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
    }
    return translator;
}

}  // namespace pictarium
