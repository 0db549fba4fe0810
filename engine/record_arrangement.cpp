#include "engine/record_arrangement_p.h"

#include "base/checked_int32.h"
#include "engine/bdp_format.h"
#include "engine/index_reader_p.h"

#include <numeric>

namespace pictarium {

namespace {

constexpr std::size_t kEntryBufferSize = 4096 * IndexEntrySize;

// Copies byte ranges of the old base into the new one, merging ranges
// that follow each other so that records kept in order are copied in a
// few calls.
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

// The entries of the arranged records as the old base has them.
std::vector<IndexEntry> oldEntries(const BinaryFile& base, std::int32_t count,
                                   const std::vector<ArrangedRecord>& records) {
    IndexReader index(base, count);
    std::vector<IndexEntry> entries;
    entries.reserve(records.size());
    for (const ArrangedRecord& record : records) {
        if (!record.picture.isEmpty()) {
            IndexEntry brought;
            brought.PicLength = toInt32(record.picture.size());
            entries.push_back(brought);
            continue;
        }
        entries.push_back(index.entry(record.from));
        requireStoredLengths(entries.back());
    }
    return entries;
}

std::int32_t textLength(const ArrangedRecord& record, const IndexEntry& old) {
    return record.text.isEmpty() ? old.TextLength : toInt32(record.text.size());
}

}  // namespace

std::vector<ArrangedRecord> recordsInOrder(std::int32_t count) {
    std::vector<ArrangedRecord> records(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        records[static_cast<std::size_t>(i)].from = i;
    }
    return records;
}

std::int64_t arrangedBaseSize(const BinaryFile& base, std::int32_t count,
                              const std::vector<ArrangedRecord>& records) {
    const std::vector<IndexEntry> entries = oldEntries(base, count, records);
    std::int64_t size = HeaderSize;
    for (std::size_t i = 0; i < records.size(); ++i) {
        size += std::int64_t{IndexEntrySize} + textLength(records[i], entries[i]) +
                entries[i].PicLength;
    }
    return size;
}

void writeArrangedBase(const BinaryFile& base, std::int32_t count,
                       const std::vector<ArrangedRecord>& records, BinaryFile& target,
                       const CopyProgress& progress) {
    const std::vector<IndexEntry> old = oldEntries(base, count, records);
    const auto header = encodeHeader(toInt32(records.size()));
    target.write(header.data(), header.size());
    std::vector<char> entries;
    entries.reserve(kEntryBufferSize);
    std::int32_t nextText = FirstTextOffset;
    for (std::size_t i = 0; i < records.size(); ++i) {
        IndexEntry entry;
        entry.TextOffset = nextText;
        entry.TextLength = textLength(records[i], old[i]);
        entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
        entry.PicLength = old[i].PicLength;
        nextText = checkedAdd(entry.PicOffset, entry.PicLength);
        const auto bytes = encodeEntry(entry);
        entries.insert(entries.end(), bytes.begin(), bytes.end());
        if (entries.size() >= kEntryBufferSize) {
            target.write(entries.data(), entries.size());
            entries.clear();
        }
    }
    target.write(entries.data(), entries.size());

    const std::int32_t indexSize = checkedMul(IndexEntrySize, count);
    RangeCopier data(base, target, progress);
    const auto writeBytes = [&](const QByteArray& bytes) {
        data.flush();
        target.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (progress) {
            progress(bytes.size());
        }
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].text.isEmpty()) {
            writeBytes(records[i].text);
        } else {
            data.add(checkedAdd(indexSize, old[i].TextOffset), old[i].TextLength);
        }
        if (!records[i].picture.isEmpty()) {
            writeBytes(records[i].picture);
        } else {
            data.add(checkedAdd(indexSize, old[i].PicOffset), old[i].PicLength);
        }
    }
    data.flush();
}

}  // namespace pictarium
