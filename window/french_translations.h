#pragma once

#include <QTranslator>

#include <memory>

namespace pictarium {

// Makes French the program's locale and installs Qt's own French texts
// (file boxes, Yes and No) on the running application. The translator
// must live as long as the application; it is empty when the translations
// are not installed, and Qt then speaks English.
[[nodiscard]] std::unique_ptr<QTranslator> installFrenchTranslations();

}  // namespace pictarium
