#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace pictarium {

// Thumbnails kept on disk between runs, one file per key in a folder of
// their own. A file is written whole or not at all, and one that is
// damaged, short or foreign is deleted rather than trusted. The folder is
// kept under a bound: the least recently used thumbnails leave first. Any
// number of caches, in any programs, may share a folder; one object is
// used by one thread at a time.
class ThumbnailCache {
public:
    static constexpr qint64 DefaultMaxBytes = qint64{256} * 1024 * 1024;

    explicit ThumbnailCache(QString folder, qint64 maxBytes = DefaultMaxBytes);

    // The thumbnail stored under `key`, now the most recently used; null
    // when there is none, or none whole.
    [[nodiscard]] QImage find(const QByteArray& key);
    // Keeps `thumbnail` under `key`; false when it could not be written
    // (a full disk, a folder that cannot be made): the cache only saves time.
    bool store(const QByteArray& key, const QImage& thumbnail);

    [[nodiscard]] QString pathOf(const QByteArray& key) const;

private:
    // Deletes the least recently used files until the folder holds well
    // under the bound again.
    void trim();

    QString mFolder;
    qint64 mMaxBytes;
    // What the folder holds, counted at the first store, then kept up.
    std::optional<qint64> mUsedBytes;
};

}  // namespace pictarium
