#include "engine/class_dbp.h"

#include "base/checked_int32.h"
#include "base/run_errors.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"
#include "imaging/core/bitmap_codec.h"

#include <limits>
#include <vector>

namespace pictarium {

namespace {

// Offsets are signed 32-bit: a base must stay below 2 GiB.
void requireBaseSize(std::int64_t size) {
    if (size > std::numeric_limits<std::int32_t>::max()) {
        throw RunFailure(RunError::Overflow, EngineText::BaseTooLarge);
    }
}

// A new record checked, in the form it is written in.
struct PreparedRecord {
    QByteArray text;        // stored form
    QByteArray bitmapFile;  // stored without its first bytes
};

qsizetype storedLength(const QByteArray& bitmapFile) {
    return bitmapFile.size() - qsizetype{RebuiltBitmapPrefix.size()};
}

// Writes the open base followed by `records` into the temporary file: the
// old index, the new entries, the old data, then the new texts and
// pictures.
void writeBaseWith(BaseState& state, const std::vector<PreparedRecord>& records,
                   BinaryFile& target) {
    const BinaryFile& source = state.FileNumber;
    const std::int32_t count = state.RecordCount;
    const std::int32_t newCount = checkedAdd(count, toInt32(records.size()));
    state.Signature = BdpSignature;
    const auto header = encodeHeader(newCount);
    target.write(header.data(), header.size());

    IndexEntry& entry = state.Entry;
    if (count > 0) {
        target.appendFrom(source, HeaderSize, checkedMul(IndexEntrySize, count),
                          state.RewriteProgress);
        entry = readIndexEntry(source, count, count - 1);
        entry.TextOffset =
            checkedAdd(checkedAdd(entry.TextLength, entry.TextOffset), entry.PicLength);
    } else {
        entry.TextOffset = FirstTextOffset;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) {
            entry.TextOffset = checkedAdd(entry.PicOffset, entry.PicLength);
        }
        entry.TextLength = toInt32(records[i].text.size());
        entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
        entry.PicLength = toInt32(storedLength(records[i].bitmapFile));
        const auto entryBytes = encodeEntry(entry);
        target.write(entryBytes.data(), entryBytes.size());
    }

    if (count >= 1) {
        const std::int32_t dataStart = checkedAdd(HeaderSize, checkedMul(IndexEntrySize, count));
        const std::int32_t dataLength = checkedSub(toInt32(source.size()), dataStart);
        if (dataLength < 0) {
            throw RunFailure(RunError::InputPastEndOfFile);
        }
        target.appendFrom(source, dataStart, dataLength, state.RewriteProgress);
    }

    for (const PreparedRecord& record : records) {
        target.write(record.text.constData(), static_cast<std::size_t>(record.text.size()));
        const qsizetype length = storedLength(record.bitmapFile);
        target.write(record.bitmapFile.constData() + RebuiltBitmapPrefix.size(),
                     static_cast<std::size_t>(length));
        if (state.RewriteProgress) {
            state.RewriteProgress(record.text.size() + length);
        }
    }
}

}  // namespace

bool ClassDBP::AddBDP(const QImage& Ipic, const QString& iText) {
    return AddRecordsBDP({{Ipic, iText}});
}

bool ClassDBP::AddRecordsBDP(QList<NewRecord> records, qsizetype* refused) {
    if (refused != nullptr) {
        *refused = -1;
    }
    if (!isBaseReady() || records.isEmpty()) {
        return false;
    }
    std::vector<PreparedRecord> prepared;
    prepared.reserve(static_cast<std::size_t>(records.size()));
    std::int64_t newSize = mState->FileNumber.size();
    for (NewRecord& record : records) {
        PreparedRecord ready{TextToBytes(record.text), {}};
        if (!checkNewRecord(record, ready.bitmapFile)) {
            if (refused != nullptr) {
                *refused = static_cast<qsizetype>(prepared.size());
            }
            return false;
        }
        // Its bitmap stands for it now: one copy of each picture is enough.
        record.picture = QImage();
        FlipBytes(ready.text);
        newSize += IndexEntrySize + ready.text.size() + storedLength(ready.bitmapFile);
        prepared.push_back(std::move(ready));
    }
    setBusy(true);
    const std::int32_t count = mState->RecordCount;
    const auto added = static_cast<std::int32_t>(prepared.size());
    try {
        // Refused before anything is copied.
        requireBaseSize(newSize);
        const VersionWriter writer{
            [&](BinaryFile& target) { writeBaseWith(*mState, prepared, target); }};
        const LongOperation operation =
            added > 1 ? LongOperation::AddingPictures : LongOperation::AddingPicture;
        if (!replaceBaseWith(operation, newSize, writer)) {
            return false;
        }
    } catch (...) {
        recoverFailedAdd(runFailureOfCurrentException());
        return false;
    }
    // The base holds the new records: nothing from here makes the add fail.
    mState->RecordCount = count + added;
    mState->CurrentIndex = count + added - 2;
    MoveNext();
    return true;
}

// The checks of one new record, each with its box, and its picture as a
// bitmap file.
bool ClassDBP::checkNewRecord(const NewRecord& record, QByteArray& bitmapFile) {
    if (!isAcceptableText(record.text)) {
        return false;
    }
    if (record.picture.isNull()) {
        stopBox(EngineText::PictureMissing);
        return false;
    }
    return PictureToBytes(record.picture, bitmapFile);
}

bool ClassDBP::PictureToBytes(const QImage& picture, QByteArray& bitmapFile) {
    try {
        // One that could not be read back is not stored.
        if (!isWithinPixelLimit(picture.width(), picture.height())) {
            throw RunFailure(RunError::InvalidPicture,
                             pixelLimitText(picture.width(), picture.height()));
        }
        bitmapFile = bitmapFileOf(picture);
        if (bitmapFile.size() <= qsizetype{RebuiltBitmapPrefix.size()}) {
            throw RunFailure(RunError::OutOfMemory);
        }
        requireBaseSize(bitmapFile.size() - qsizetype{RebuiltBitmapPrefix.size()});
        return true;
    } catch (...) {
        bitmapFile.clear();
        ShowError(runFailureOfCurrentException());
        return false;
    }
}

// Nothing was replaced: the base on disk is whole, and it is reopened at
// its first record.
void ClassDBP::recoverFailedAdd(const RunFailure& failure) {
    ShowError(failure);
    mState->FileNumber.close();
    OpenBDP(mState->FileName);
    setBusy(false);
}

}  // namespace pictarium
