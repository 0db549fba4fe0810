#pragma once

#include "base/binary_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace pictarium {

// A deleted record, as the trash keeps it: its stored text and picture
// bytes, where it stood in the base and when it left.
struct TrashedRecord {
    QString file;  // its file in the trash
    std::int32_t formerIndex = 0;
    QDateTime deleted;
    QByteArray text;  // stored form
    std::int32_t pictureLength = 0;
};

// The trash of one base, in the user's data folder: one file per deleted
// record. A delete writes its records as pending, flushed, before the base
// is replaced, and keeps them once it is; so a record is always in the
// base or in the trash. One found pending after a crash is kept only if
// the base no longer holds it.
class BaseTrash {
public:
    // The trash of the base at `basePath`, under `trashRoot`.
    BaseTrash(const QString& trashRoot, const QString& basePath);

    // Writes the record as pending; gives its file.
    QString addPending(std::int32_t formerIndex, const QByteArray& text, const BinaryFile& base,
                       std::int64_t pictureAt, std::int32_t pictureLength);
    // Keeps pending records for good; gives their files now.
    QStringList keep(const QStringList& pendingFiles);
    void discard(const QStringList& files);

    // The records of the trash, oldest first, pending ones settled against
    // `base` (the base as it is now, `count` records).
    [[nodiscard]] QList<TrashedRecord> records(const BinaryFile& base, std::int32_t count);
    // The picture bytes of a record, stored form.
    [[nodiscard]] QByteArray picture(const TrashedRecord& record) const;
    // Removes the oldest records until the trash holds at most `limit`
    // bytes; gives how many left.
    int keepWithin(std::int64_t limit);

private:
    QString mFolder;
};

}  // namespace pictarium
