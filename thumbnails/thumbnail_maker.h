#pragma once

#include "thumbnails/thumbnail_cache.h"

#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <memory>

namespace pictarium {

class ReadOnlyBase;

// Makes the thumbnails of a base's records on a thread of its own, from its
// own read-only handle on the base and through a cache on disk, and hands
// them back on the thread that owns it. Nothing here waits for that thread:
// requests are queued, results come as signals.
class ThumbnailMaker : public QObject {
    Q_OBJECT

public:
    // The largest thumbnails shown: smaller ones are scaled from these.
    static constexpr int Edge = 320;

    explicit ThumbnailMaker(QString cacheFolder,
                            qint64 cacheBytes = ThumbnailCache::DefaultMaxBytes,
                            QObject* parent = nullptr);
    // Stops the thread between two rows of the thumbnail under way.
    ~ThumbnailMaker() override;
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // Takes the base at `path`, read anew: to be called again after every
    // change to it. Drops the requests still pending. Results for this base
    // carry the generation returned: one already on its way when this is
    // called carries an earlier one, for the receiver to drop.
    quint64 setBase(const QString& path);
    // Replaces the pending requests with `indexes`, made in that order:
    // the visible records first.
    void request(const QList<int>& indexes);

signals:
    // Record `index`'s thumbnail, or a null picture when the record cannot
    // be read.
    void thumbnailReady(quint64 baseGeneration, int index, QImage thumbnail);

private:
    // The thread's loop: one requested record after the other.
    void run();
    // The next record to make and the base it belongs to; false when the
    // thread is to end.
    bool takeRequest(int& index, QString& path, quint64& generation);
    [[nodiscard]] bool isCurrent(quint64 generation);
    // Record `index`'s thumbnail; null for a record that cannot be read.
    [[nodiscard]] QImage thumbnailOrPlaceholder(const ReadOnlyBase& base, int index);

    ThumbnailCache mCache;  // the thread's alone
    QMutex mMutex;
    QWaitCondition mWake;
    QString mPath;
    quint64 mGeneration = 0;
    std::deque<int> mPending;
    bool mQuitting = false;
    std::atomic<bool> mStop{false};
    std::unique_ptr<QThread> mThread;
};

}  // namespace pictarium
