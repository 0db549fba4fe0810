#pragma once

#include "base/binary_file.h"
#include "engine/bdp_format.h"

#include <cstdint>
#include <vector>

namespace pictarium {

// Reads the index entries of a base through a small cache of consecutive
// entries, so that a scan over many records does few reads whichever way
// it goes, and memory stays bounded whatever the base's size.
class IndexReader {
public:
    IndexReader(const BinaryFile& file, std::int32_t recordCount);

    // Entry `index` (0 <= index < recordCount). An entry past the end of
    // the file is the "input past end of file" failure.
    [[nodiscard]] IndexEntry entry(std::int32_t index);

private:
    void load(std::int32_t index);

    const BinaryFile& mFile;
    std::int32_t mRecordCount;
    std::vector<char> mChunk;
    std::int32_t mFirst = 0;
    std::int32_t mLoaded = 0;
};

}  // namespace pictarium
