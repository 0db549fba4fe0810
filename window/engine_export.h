#pragma once

#include "class_dbp.h"
#include "imaging/common_dialog.h"

#include <QImage>
#include <QString>

namespace pictarium {

// The engine's save box and picture export. They are reached through these
// two templates so that the window also builds against an engine that does
// not export pictures yet; such an engine saves nothing.
template <typename Engine>
bool askSaveFileName(Engine& base, CommonDialog& dialog, QString& name) {
    if constexpr (requires { base.gSaveFile(dialog, name); }) {
        return base.gSaveFile(dialog, name);
    } else {
        return false;
    }
}

template <typename Engine>
void savePictureFile(Engine& base, const QImage& picture, const QString& name) {
    if constexpr (requires { base.SaveFileInDsk(picture, name); }) {
        base.SaveFileInDsk(picture, name);
    }
}

}  // namespace pictarium
