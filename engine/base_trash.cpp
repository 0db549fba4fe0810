#include "engine/base_trash.h"

#include "base/byte_order.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/bdp_format.h"
#include "engine/index_reader_p.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <optional>

namespace pictarium {

namespace {

const QByteArray Magic = QByteArrayLiteral("PTRASH01");
constexpr qsizetype HeaderLength = 28;  // magic, index, time, text and picture lengths
const QString Pending = QStringLiteral(".pending");
const QString Kept = QStringLiteral(".record");

QByteArray headerOf(std::int32_t formerIndex, std::int64_t deletedMs, std::int32_t textLength,
                    std::int32_t pictureLength) {
    QByteArray header = Magic;
    header.resize(HeaderLength);
    putInt32(header.data() + 8, formerIndex);
    putInt32(header.data() + 12, static_cast<std::int32_t>(deletedMs & 0xFFFFFFFF));
    putInt32(header.data() + 16, static_cast<std::int32_t>(deletedMs >> 32));
    putInt32(header.data() + 20, textLength);
    putInt32(header.data() + 24, pictureLength);
    return header;
}

// The record a trash file holds, its picture left on disk; none when the
// file is not one whole.
std::optional<TrashedRecord> readRecord(const QString& path) {
    try {
        const BinaryFile file = BinaryFile::openForReading(path);
        QByteArray header(HeaderLength, Qt::Uninitialized);
        file.readExactAt(0, header.data(), HeaderLength);
        TrashedRecord record;
        record.file = path;
        record.formerIndex = getInt32(header.constData() + 8);
        const std::int64_t deletedMs =
            static_cast<std::uint32_t>(getInt32(header.constData() + 12)) |
            (std::int64_t{getInt32(header.constData() + 16)} << 32);
        record.deleted = QDateTime::fromMSecsSinceEpoch(deletedMs);
        const std::int32_t textLength = getInt32(header.constData() + 20);
        record.pictureLength = getInt32(header.constData() + 24);
        if (!header.startsWith(Magic) || textLength < 1 || textLength > MaxTextLength ||
            record.pictureLength < 1 ||
            file.size() != HeaderLength + textLength + std::int64_t{record.pictureLength}) {
            return std::nullopt;
        }
        record.text.resize(textLength);
        file.readExactAt(HeaderLength, record.text.data(), static_cast<std::size_t>(textLength));
        return record;
    } catch (const RunFailure&) {
        return std::nullopt;
    }
}

QByteArray bytesAt(const BinaryFile& file, std::int64_t offset, std::int32_t length) {
    QByteArray bytes(length, Qt::Uninitialized);
    file.readExactAt(offset, bytes.data(), static_cast<std::size_t>(length));
    return bytes;
}

}  // namespace

BaseTrash::BaseTrash(const QString& trashRoot, const QString& basePath) {
    const QString absolute = QFileInfo(basePath).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(QFile::encodeName(absolute), QCryptographicHash::Sha1).toHex();
    mFolder = QDir(trashRoot).filePath(QString::fromLatin1(key));
}

QString BaseTrash::addPending(std::int32_t formerIndex, const QByteArray& text,
                              const BinaryFile& base, std::int64_t pictureAt,
                              std::int32_t pictureLength) {
    if (!QDir().mkpath(mFolder)) {
        throw RunFailure(RunError::PathNotFound, mFolder);
    }
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    const QString stem = QDir(mFolder).filePath(QStringLiteral("%1-%2")
                                                    .arg(now, 13, 10, QLatin1Char('0'))
                                                    .arg(formerIndex, 10, 10, QLatin1Char('0')));
    const QString temporary = stem + QStringLiteral(".tmp");
    try {
        BinaryFile file = BinaryFile::create(temporary);
        const QByteArray header =
            headerOf(formerIndex, now, static_cast<std::int32_t>(text.size()), pictureLength);
        file.write(header.constData(), static_cast<std::size_t>(header.size()));
        file.write(text.constData(), static_cast<std::size_t>(text.size()));
        file.appendFrom(base, pictureAt, pictureLength);
        file.sync();
        file.close();
        replaceFile(temporary, stem + Pending);
    } catch (...) {
        removeFileQuietly(temporary);
        throw;
    }
    return stem + Pending;
}

QStringList BaseTrash::keep(const QStringList& pendingFiles) {
    QStringList kept;
    for (const QString& file : pendingFiles) {
        kept.append(file.chopped(Pending.size()) + Kept);
        replaceFile(file, kept.constLast());
    }
    return kept;
}

void BaseTrash::discard(const QStringList& files) {
    for (const QString& file : files) {
        removeFileQuietly(file);
    }
}

namespace {

// Whether the base holds a record with exactly these bytes.
bool baseHolds(const BinaryFile& base, std::int32_t count, const TrashedRecord& record,
               const QByteArray& picture) {
    IndexReader index(base, count);
    const std::int64_t indexSize = std::int64_t{IndexEntrySize} * count;
    for (std::int32_t i = 0; i < count; ++i) {
        const IndexEntry entry = index.entry(i);
        if (entry.TextLength != record.text.size() || entry.PicLength != record.pictureLength) {
            continue;
        }
        if (bytesAt(base, indexSize + entry.TextOffset, entry.TextLength) == record.text &&
            bytesAt(base, indexSize + entry.PicOffset, entry.PicLength) == picture) {
            return true;
        }
    }
    return false;
}

}  // namespace

QList<TrashedRecord> BaseTrash::records(const BinaryFile& base, std::int32_t count) {
    const QStringList names = QDir(mFolder).entryList(
        {QStringLiteral("*") + Pending, QStringLiteral("*") + Kept}, QDir::Files, QDir::Name);
    QList<TrashedRecord> found;
    for (const QString& name : names) {
        std::optional<TrashedRecord> record = readRecord(QDir(mFolder).filePath(name));
        if (!record) {
            continue;
        }
        // A delete that stopped between its trash and its base: the base
        // says whether the record left it.
        if (name.endsWith(Pending)) {
            try {
                if (baseHolds(base, count, *record, picture(*record))) {
                    discard({record->file});
                    continue;
                }
                record->file = keep({record->file}).constFirst();
            } catch (const RunFailure&) {
                continue;  // settled another time
            }
        }
        found.append(std::move(*record));
    }
    return found;
}

QByteArray BaseTrash::picture(const TrashedRecord& record) const {
    const BinaryFile file = BinaryFile::openForReading(record.file);
    return bytesAt(file, HeaderLength + record.text.size(), record.pictureLength);
}

int BaseTrash::keepWithin(std::int64_t limit) {
    const QFileInfoList files =
        QDir(mFolder).entryInfoList({QStringLiteral("*") + Kept}, QDir::Files, QDir::Name);
    std::int64_t total = 0;
    for (const QFileInfo& file : files) {
        total += file.size();
    }
    int removed = 0;
    for (const QFileInfo& file : files) {
        if (total <= limit) {
            break;
        }
        total -= file.size();
        removeFileQuietly(file.filePath());
        ++removed;
    }
    return removed;
}

}  // namespace pictarium
