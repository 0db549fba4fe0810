#include "engine/read_only_base.h"

#include "base/run_errors.h"
#include "engine/bdp_format.h"
#include "engine/index_reader_p.h"
#include "engine/stored_picture_p.h"
#include "imaging/core/bitmap_codec.h"

#include <algorithm>
#include <array>

namespace pictarium {

std::optional<ReadOnlyBase> ReadOnlyBase::open(const QString& path) {
    try {
        ReadOnlyBase base;
        base.mFile = BinaryFile::openForReading(path);
        base.mOpened = base.mFile.status();
        std::array<char, HeaderSize> header{};
        base.mFile.readExactAt(0, header.data(), header.size());
        base.mRecordCount = getInt32(header.data() + 4);
        if (getInt32(header.data()) != BdpSignature || base.mRecordCount < 0) {
            return std::nullopt;
        }
        return base;
    } catch (const RunFailure&) {
        return std::nullopt;
    }
}

std::optional<StoredPictureLocation> ReadOnlyBase::pictureLocation(std::int32_t index) const {
    if (index < 0 || index >= mRecordCount) {
        return std::nullopt;
    }
    try {
        const IndexEntry entry = readIndexEntry(mFile, mRecordCount, index);
        requireStoredLengths(entry);
        const std::int32_t at = fileOffsetOf(mRecordCount, entry.PicOffset);
        if (!liesInFile(at, entry.PicLength, mFile.openedSize())) {
            return std::nullopt;
        }
        return StoredPictureLocation{at, entry.PicLength};
    } catch (const RunFailure&) {
        return std::nullopt;
    }
}

std::optional<QStringList> ReadOnlyBase::descriptions() const {
    try {
        QStringList texts;
        texts.reserve(mRecordCount);
        IndexReader entries(mFile, mRecordCount);
        for (std::int32_t index = 0; index < mRecordCount; ++index) {
            const IndexEntry entry = entries.entry(index);
            requireStoredLengths(entry);
            const std::int32_t at = fileOffsetOf(mRecordCount, entry.TextOffset);
            if (!liesInFile(at, entry.TextLength, mFile.openedSize())) {
                return std::nullopt;
            }
            QByteArray text(entry.TextLength, Qt::Uninitialized);
            mFile.readExactAt(at, text.data(), static_cast<std::size_t>(text.size()));
            FlipBytes(text);
            texts.append(BytesToText(text));
        }
        return texts;
    } catch (const RunFailure&) {
        return std::nullopt;
    }
}

QByteArray ReadOnlyBase::read(std::int64_t offset, std::int64_t count) const {
    const std::int64_t fileSize = mFile.openedSize();
    if (offset < 0 || count <= 0 || offset >= fileSize) {
        return {};
    }
    QByteArray bytes(std::min(count, fileSize - offset), Qt::Uninitialized);
    try {
        bytes.resize(static_cast<qsizetype>(
            mFile.readAt(offset, bytes.data(), static_cast<std::size_t>(bytes.size()))));
        return bytes;
    } catch (const RunFailure&) {
        return {};
    }
}

QByteArray ReadOnlyBase::pictureFile(const StoredPictureLocation& location) const {
    try {
        return readStoredPicture(mFile, location.offset, location.length);
    } catch (const RunFailure&) {
        return {};
    }
}

QImage ReadOnlyBase::picture(std::int32_t index) const {
    const std::optional<StoredPictureLocation> location = pictureLocation(index);
    return location ? pictureFromBitmapFile(pictureFile(*location)) : QImage();
}

bool ReadOnlyBase::isUnchanged() const {
    try {
        return mFile.status().isUnchanged(mOpened);
    } catch (const RunFailure&) {
        return false;
    }
}

}  // namespace pictarium
