#include "window/new_base_name_p.h"

#include "base/path_parts.h"

namespace pictarium {

QString newBaseName(const QString& chosen) {
    if (fileNameStart(chosen) >= chosen.size()) {
        return {};
    }
    const qsizetype dot = extensionDot(chosen);
    if (dot < 0) {
        return chosen + QStringLiteral(".bdp");
    }
    return chosen.left(dot + 1) + QStringLiteral("bdp");
}

}  // namespace pictarium
