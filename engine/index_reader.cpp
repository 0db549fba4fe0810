#include "engine/index_reader_p.h"

#include "base/checked_int32.h"
#include "base/run_errors.h"

#include <algorithm>

namespace pictarium {

IndexReader::IndexReader(const BinaryFile& file, std::int32_t recordCount,
                         std::int32_t entriesPerRead)
    : mFile(file), mRecordCount(recordCount), mEntriesPerRead(std::max(1, entriesPerRead)) {}

IndexEntry IndexReader::entry(std::int32_t index) {
    if (index < mFirst || index >= mFirst + mLoaded) {
        load(index);
    }
    return decodeEntry(mChunk.data() + std::size_t(index - mFirst) * IndexEntrySize);
}

void IndexReader::load(std::int32_t index) {
    if (index < 0 || index >= mRecordCount) {
        throw RunFailure(RunError::SubscriptOutOfRange);
    }
    const std::int32_t first = index / mEntriesPerRead * mEntriesPerRead;
    const std::int32_t wanted = std::min(mEntriesPerRead, mRecordCount - first);
    mChunk.resize(std::size_t(wanted) * IndexEntrySize);
    const std::int32_t offset = checkedAdd(HeaderSize, checkedMul(IndexEntrySize, first));
    const std::size_t got = mFile.readAt(offset, mChunk.data(), mChunk.size());
    mFirst = first;
    mLoaded = static_cast<std::int32_t>(got / IndexEntrySize);
    if (index >= mFirst + mLoaded) {
        throw RunFailure(RunError::InputPastEndOfFile);
    }
}

IndexEntry readIndexEntry(const BinaryFile& file, std::int32_t recordCount, std::int32_t index) {
    return IndexReader(file, recordCount, 1).entry(index);
}

}  // namespace pictarium
