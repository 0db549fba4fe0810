#include "thumbnails/thumbnail_cache.h"

#include "base/byte_order.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <utility>

namespace pictarium {

namespace {

// A file: the magic, the version, the payload's length and its SHA-256,
// then the payload, the thumbnail as a JPEG file.
constexpr QByteArrayView Magic = "PICTHUMB";
constexpr std::int32_t Version = 1;
constexpr qsizetype ChecksumSize = 32;
constexpr qsizetype HeaderSize = Magic.size() + 4 + 4 + ChecksumSize;
// Far more than a thumbnail takes: anything larger is not ours.
constexpr qint64 MaxFileSize = qint64{4} * 1024 * 1024;
constexpr int JpegQuality = 85;
const QString Suffix = QStringLiteral(".thumbnail");

QByteArray checksumOf(QByteArrayView payload) {
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
}

QByteArray fileOf(const QImage& thumbnail) {
    QByteArray payload;
    QBuffer buffer(&payload);
    buffer.open(QIODevice::WriteOnly);
    if (!thumbnail.save(&buffer, "JPEG", JpegQuality)) {
        return {};
    }
    QByteArray file(HeaderSize - ChecksumSize, '\0');
    std::copy(Magic.begin(), Magic.end(), file.begin());
    putInt32(file.data() + Magic.size(), Version);
    putInt32(file.data() + Magic.size() + 4, static_cast<std::int32_t>(payload.size()));
    return file + checksumOf(payload) + payload;
}

// The thumbnail a file holds; null unless every part of it checks.
QImage thumbnailOf(const QByteArray& file) {
    if (file.size() < HeaderSize || !file.startsWith(Magic) ||
        getInt32(file.constData() + Magic.size()) != Version ||
        getInt32(file.constData() + Magic.size() + 4) != file.size() - HeaderSize) {
        return {};
    }
    const QByteArrayView payload = QByteArrayView(file).sliced(HeaderSize);
    if (checksumOf(payload) !=
        QByteArrayView(file).sliced(HeaderSize - ChecksumSize, ChecksumSize)) {
        return {};
    }
    return QImage::fromData(payload, "JPEG").convertToFormat(QImage::Format_RGB32);
}

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize) {
        return {};
    }
    return file.readAll();
}

}  // namespace

ThumbnailCache::ThumbnailCache(QString folder, qint64 maxBytes)
    : mFolder(std::move(folder)), mMaxBytes(maxBytes) {}

QString ThumbnailCache::pathOf(const QByteArray& key) const {
    return mFolder + QLatin1Char('/') + QString::fromLatin1(key.toHex()) + Suffix;
}

QImage ThumbnailCache::find(const QByteArray& key) {
    const QString path = pathOf(key);
    if (!QFile::exists(path)) {
        return {};
    }
    const QImage thumbnail = thumbnailOf(readSmallFile(path));
    if (thumbnail.isNull()) {
        QFile::remove(path);
        return {};
    }
    QFile file(path);
    if (file.open(QIODevice::ReadWrite)) {
        (void)file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    }
    return thumbnail;
}

bool ThumbnailCache::store(const QByteArray& key, const QImage& thumbnail) {
    const QByteArray bytes = fileOf(thumbnail);
    if (bytes.isEmpty() || !QDir().mkpath(mFolder)) {
        return false;
    }
    // Written beside, then renamed over: never a half file under the name.
    QSaveFile file(pathOf(key));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return false;
    }
    if (!mUsedBytes) {
        trim();
    } else {
        *mUsedBytes += bytes.size();
    }
    if (*mUsedBytes > mMaxBytes) {
        trim();
    }
    return true;
}

void ThumbnailCache::trim() {
    const QFileInfoList files = QDir(mFolder).entryInfoList(
        {QLatin1Char('*') + Suffix}, QDir::Files, QDir::Time | QDir::Reversed);
    qint64 used = 0;
    for (const QFileInfo& file : files) {
        used += file.size();
    }
    // Down to well under the bound, so that the next stores do not each
    // go through the folder again.
    const qint64 goal = used > mMaxBytes ? mMaxBytes / 8 * 7 : mMaxBytes;
    for (const QFileInfo& file : files) {
        if (used <= goal) {
            break;
        }
        if (QFile::remove(file.filePath())) {
            used -= file.size();
        }
    }
    mUsedBytes = used;
}

}  // namespace pictarium
