#include "window/edit_history_p.h"

#include <algorithm>

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

QList<std::int32_t> orderMoving(std::int32_t count, QList<std::int32_t> moved,
                                std::int32_t before) {
    std::sort(moved.begin(), moved.end());
    QList<std::int32_t> order;
    order.reserve(count);
    const auto place = [&] { order.append(moved); };
    for (std::int32_t index = 0; index < count; ++index) {
        if (index == before) {
            place();
        }
        if (!std::binary_search(moved.cbegin(), moved.cend(), index)) {
            order.append(index);
        }
    }
    if (before >= count) {
        place();
    }
    return order;
}

QList<std::int32_t> inverseOrder(const QList<std::int32_t>& order) {
    QList<std::int32_t> inverse(order.size());
    for (qsizetype k = 0; k < order.size(); ++k) {
        inverse[order[k]] = static_cast<std::int32_t>(k);
    }
    return inverse;
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
