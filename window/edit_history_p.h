#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace pictarium {

// A change made to the base from this window, with what it takes to undo
// it and to do it again.
struct BaseChange {
    enum class Kind { Added, Deleted, Restored, TextChanged, Moved };
    Kind kind = Kind::Added;
    // Added and Restored: where the records stand; Deleted: where they stood.
    QList<std::int32_t> indexes;
    // Deleted, and Added or Restored once undone: where the records wait in
    // the trash.
    QStringList trashFiles;
    // TextChanged: the record, and its description before and after.
    std::int32_t index = 0;
    QString before;
    QString after;
    // Moved: the new order (record k of the base after is record order[k]
    // of the base before), and the records shown after and before.
    QList<std::int32_t> order;
    std::int32_t shownAfter = 0;
    std::int32_t shownBefore = 0;

    // "l'ajout", "la suppression"...: what "Annuler : " and "Rétablir : " name.
    [[nodiscard]] QString name() const;
};

// The order of a base of `count` records once the records `moved` (in
// their order in the base) are put together just before record `before`
// (`count` for the end).
[[nodiscard]] QList<std::int32_t> orderMoving(std::int32_t count, QList<std::int32_t> moved,
                                              std::int32_t before);
// The order that puts back what `order` changed.
[[nodiscard]] QList<std::int32_t> inverseOrder(const QList<std::int32_t>& order);

// The changes of this window, to undo and to redo, and the state of the
// base file after the last of them: another program's change since makes
// them stale.
class EditHistory {
public:
    void done(BaseChange change, const QString& basePath);
    void clear();

    [[nodiscard]] bool canUndo() const { return !mUndo.isEmpty(); }
    [[nodiscard]] bool canRedo() const { return !mRedo.isEmpty(); }
    [[nodiscard]] const BaseChange& nextUndo() const { return mUndo.constLast(); }
    [[nodiscard]] const BaseChange& nextRedo() const { return mRedo.constLast(); }
    [[nodiscard]] BaseChange takeUndo() { return mUndo.takeLast(); }
    [[nodiscard]] BaseChange takeRedo() { return mRedo.takeLast(); }
    void undone(BaseChange change, const QString& basePath);
    void redone(BaseChange change, const QString& basePath);

    // Whether the changes are of this base.
    [[nodiscard]] bool isOf(const QString& basePath) const { return basePath == mBasePath; }
    // Whether the base file is still as this window's last change left it.
    [[nodiscard]] bool isCurrent() const;

private:
    void stamp(const QString& basePath);

    QList<BaseChange> mUndo;
    QList<BaseChange> mRedo;
    QString mBasePath;
    qint64 mSize = -1;
    QDateTime mModified;
};

}  // namespace pictarium
