#pragma once

#include "base/binary_file.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace pictarium {

// One record of a new version of the open base: record `from` of the open
// base, its stored text replaced by `text` when that is not empty; or, when
// `picture` is not empty, a record brought back whole, `text` and `picture`
// in their stored forms.
struct ArrangedRecord {
    std::int32_t from = 0;
    QByteArray text;
    QByteArray picture;
};

// The records of the open base `base` of `count` records, kept in order.
[[nodiscard]] std::vector<ArrangedRecord> recordsInOrder(std::int32_t count);

// The length of the base that holds `records` of `base`, in that order.
[[nodiscard]] std::int64_t arrangedBaseSize(const BinaryFile& base, std::int32_t count,
                                            const std::vector<ArrangedRecord>& records);

// Writes into `target` the base that holds `records` of `base`, in that
// order: offsets laid out anew, texts and pictures copied unchanged but
// for the texts replaced.
void writeArrangedBase(const BinaryFile& base, std::int32_t count,
                       const std::vector<ArrangedRecord>& records, BinaryFile& target,
                       const CopyProgress& progress);

}  // namespace pictarium
