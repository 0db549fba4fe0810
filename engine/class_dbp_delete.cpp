#include "engine/class_dbp.h"

#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"

#include "base/checked_int32.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"

#include <vector>

namespace pictarium {

namespace {

constexpr std::size_t kEntryBufferSize = 4096 * IndexEntrySize;

// Copies byte ranges of the old base into the new one, merging ranges
// that follow each other so a well-formed base is copied in a few calls.
class RangeCopier {
public:
    RangeCopier(const BinaryFile& source, BinaryFile& target, const CopyProgress& progress)
        : mSource(source), mTarget(target), mProgress(progress) {}

    void add(std::int64_t offset, std::int64_t length) {
        if (mLength > 0 && mOffset + mLength == offset) {
            mLength += length;
            return;
        }
        flush();
        mOffset = offset;
        mLength = length;
    }

    void flush() {
        if (mLength > 0) {
            mTarget.appendFrom(mSource, mOffset, mLength, mProgress);
        }
        mLength = 0;
    }

private:
    const BinaryFile& mSource;
    BinaryFile& mTarget;
    const CopyProgress& mProgress;
    std::int64_t mOffset = 0;
    std::int64_t mLength = 0;
};

}  // namespace

bool ClassDBP::DeleteBDP() {
    if (!isBaseReady() || !hasCurrentRecord(EngineText::NothingToDelete)) {
        return false;
    }
    const std::int32_t count = mState->RecordCount;
    const std::int32_t current = mState->CurrentIndex;
    setBusy(true);
    try {
        mState->Entry = readIndexEntry(mState->FileNumber, count, current);
        requireStoredLengths(mState->Entry);
        const std::int64_t newSize = mState->FileNumber.size() - IndexEntrySize -
                                     mState->Entry.TextLength - mState->Entry.PicLength;
        const VersionWriter writer{[&](BinaryFile& target) { writeBaseWithout(current, target); }};
        if (!replaceBaseWith(LongOperation::DeletingRecord, newSize, writer)) {
            return false;
        }
    } catch (...) {
        // Nothing was replaced: the base stays open as it was.
        ShowError(runFailureOfCurrentException());
        RefreshButtons();
        return false;
    }
    mState->RecordCount = count - 1;
    std::int32_t shown = current >= count - 1 ? count - 2 : current;
    if (shown > -1) {
        --shown;
    }
    mState->CurrentIndex = shown;
    MoveNext();
    return true;
}

// Writes the base without record `removedIndex` into the temporary file.
void ClassDBP::writeBaseWithout(std::int32_t removedIndex, BinaryFile& target) {
    const BinaryFile& base = mState->FileNumber;
    const std::int32_t count = mState->RecordCount;
    IndexReader index(base, count);

    mState->Entry = index.entry(removedIndex);
    requireStoredLengths(mState->Entry);
    const std::int32_t removed = checkedAdd(mState->Entry.TextLength, mState->Entry.PicLength);

    mState->Signature = BdpSignature;
    const auto header = encodeHeader(count - 1);
    target.write(header.data(), header.size());
    std::vector<char> entries;
    entries.reserve(kEntryBufferSize);
    for (std::int32_t i = 0; i < count; ++i) {
        if (i == removedIndex) {
            continue;
        }
        IndexEntry entry = index.entry(i);
        if (i > removedIndex) {
            entry.TextOffset = checkedSub(entry.TextOffset, removed);
            entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
        }
        const auto bytes = encodeEntry(entry);
        entries.insert(entries.end(), bytes.begin(), bytes.end());
        if (entries.size() >= kEntryBufferSize) {
            target.write(entries.data(), entries.size());
            entries.clear();
        }
    }
    target.write(entries.data(), entries.size());

    const std::int32_t indexSize = checkedMul(IndexEntrySize, count);
    RangeCopier data(base, target, mState->RewriteProgress);
    for (std::int32_t i = 0; i < count; ++i) {
        if (i == removedIndex) {
            continue;
        }
        mState->Entry = index.entry(i);
        requireStoredLengths(mState->Entry);
        data.add(checkedAdd(indexSize, mState->Entry.TextOffset), mState->Entry.TextLength);
        data.add(checkedAdd(indexSize, mState->Entry.PicOffset), mState->Entry.PicLength);
    }
    data.flush();
}

}  // namespace pictarium
