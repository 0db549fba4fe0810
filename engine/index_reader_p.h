#pragma once

#include "base/binary_file.h"
#include "engine/bdp_format.h"

#include <cstdint>
#include <vector>

namespace pictarium {

// Reads the index entries of a base, the one place that does. Entries
// come through a small cache of consecutive entries, so that a scan over
// many records does few reads whichever way it goes, and memory stays
// bounded whatever the base's size.
class IndexReader {
public:
    // A reader for a scan; one for a single entry reads only that entry.
    static constexpr std::int32_t EntriesPerScanRead = 4096;

    IndexReader(const BinaryFile& file, std::int32_t recordCount,
                std::int32_t entriesPerRead = EntriesPerScanRead);

    // Entry `index` (0 <= index < recordCount). An entry past the end of
    // the file is the "input past end of file" failure.
    [[nodiscard]] IndexEntry entry(std::int32_t index);

private:
    void load(std::int32_t index);

    const BinaryFile& mFile;
    std::int32_t mRecordCount;
    std::int32_t mEntriesPerRead;
    std::vector<char> mChunk;
    std::int32_t mFirst = 0;
    std::int32_t mLoaded = 0;
};

// Entry `index` alone, of a base of `recordCount` records.
[[nodiscard]] IndexEntry readIndexEntry(const BinaryFile& file, std::int32_t recordCount,
                                        std::int32_t index);

}  // namespace pictarium
