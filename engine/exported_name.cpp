#include "engine/exported_name.h"

namespace pictarium {

QString exportedPictureName(std::int32_t index, const QString& extension) {
    return QStringLiteral("%1.%2").arg(index, 5, 10, QLatin1Char('0')).arg(extension);
}

}  // namespace pictarium
