#include "window/edit_history_p.h"

#include <QFileInfo>

namespace pictarium {

QString BaseChange::name() const {
    switch (kind) {
        case Kind::Added:
            return QStringLiteral("l'ajout");
        case Kind::Deleted:
            return QStringLiteral("la suppression");
        case Kind::Restored:
            return QStringLiteral("la restauration");
        case Kind::TextChanged:
            return QStringLiteral("la modification de la description");
        case Kind::Moved:
            return QStringLiteral("le déplacement");
    }
    return {};
}

void EditHistory::done(BaseChange change, const QString& basePath) {
    if (!isOf(basePath)) {
        clear();
    }
    mUndo.append(std::move(change));
    mRedo.clear();
    stamp(basePath);
}

void EditHistory::clear() {
    mUndo.clear();
    mRedo.clear();
    mBasePath.clear();
    mSize = -1;
}

void EditHistory::undone(BaseChange change, const QString& basePath) {
    mRedo.append(std::move(change));
    stamp(basePath);
}

void EditHistory::redone(BaseChange change, const QString& basePath) {
    mUndo.append(std::move(change));
    stamp(basePath);
}

bool EditHistory::isCurrent() const {
    const QFileInfo file(mBasePath);
    return file.exists() && file.size() == mSize && file.lastModified() == mModified;
}

void EditHistory::stamp(const QString& basePath) {
    mBasePath = basePath;
    const QFileInfo file(basePath);
    mSize = file.size();
    mModified = file.lastModified();
}

}  // namespace pictarium
