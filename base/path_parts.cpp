#include "base/path_parts.h"

#include <algorithm>

namespace pictarium {

qsizetype fileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

qsizetype extensionDot(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < fileNameStart(path) ? -1 : dot;
}

}  // namespace pictarium
