#include "thumbnails/thumbnail_maker.h"

#include "engine/read_only_base.h"
#include "thumbnails/record_thumbnail_p.h"

#include <QMutexLocker>

#include <optional>
#include <utility>

namespace pictarium {

ThumbnailMaker::ThumbnailMaker(QString cacheFolder, qint64 cacheBytes, QObject* parent)
    : QObject(parent), mCache(std::move(cacheFolder), cacheBytes) {
    mThread.reset(QThread::create([this] { run(); }));
    mThread->start(QThread::LowPriority);
}

ThumbnailMaker::~ThumbnailMaker() {
    mStop = true;
    {
        const QMutexLocker lock(&mMutex);
        mQuitting = true;
    }
    mWake.wakeAll();
    mThread->wait();
}

quint64 ThumbnailMaker::setBase(const QString& path) {
    const QMutexLocker lock(&mMutex);
    mPath = path;
    mPending.clear();
    return ++mGeneration;
}

void ThumbnailMaker::request(const QList<int>& indexes) {
    {
        const QMutexLocker lock(&mMutex);
        mPending.assign(indexes.begin(), indexes.end());
    }
    mWake.wakeAll();
}

bool ThumbnailMaker::takeRequest(int& index, QString& path, quint64& generation) {
    const QMutexLocker lock(&mMutex);
    while (!mQuitting && mPending.empty()) {
        mWake.wait(&mMutex);
    }
    if (mQuitting) {
        return false;
    }
    index = mPending.front();
    mPending.pop_front();
    path = mPath;
    generation = mGeneration;
    return true;
}

bool ThumbnailMaker::isCurrent(quint64 generation) {
    const QMutexLocker lock(&mMutex);
    return generation == mGeneration;
}

QImage ThumbnailMaker::thumbnailOrPlaceholder(const ReadOnlyBase& base, int index) {
    // Nothing may leave the thread: a record that runs out of memory is one
    // the window shows as unreadable.
    try {
        return recordThumbnail(base, index, Edge, mCache, mStop);
    } catch (...) {
        return {};
    }
}

void ThumbnailMaker::run() {
    std::optional<ReadOnlyBase> base;
    quint64 opened = 0;  // the generation `base` was opened for
    int index = 0;
    QString path;
    quint64 generation = 0;
    while (takeRequest(index, path, generation)) {
        if (generation != opened) {
            base = ReadOnlyBase::open(path);
            opened = generation;
        }
        const QImage thumbnail = base ? thumbnailOrPlaceholder(*base, index) : QImage();
        if (mStop) {
            return;
        }
        // Emitted from this thread: receivers on the owner's get it queued.
        if (isCurrent(generation)) {
            emit thumbnailReady(generation, index, thumbnail);
        }
    }
}

}  // namespace pictarium
