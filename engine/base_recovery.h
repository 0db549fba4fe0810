#pragma once

#include "base/binary_file.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace pictarium {

// A record of a damaged base whose text and picture can still be read.
struct RecoveredRecord {
    // Found through the index of the base, or by looking through its bytes.
    enum class Source { Index, Scan };

    Source source = Source::Index;
    std::int64_t textOffset = 0;  // absolute, in the damaged base
    QByteArray text;              // in stored form, 1 to 255 bytes
    std::int64_t pictureOffset = 0;
    std::int32_t pictureLength = 0;  // the stored bytes the damaged base holds
    // A picture cut short by the end of the file, rebuilt in stored form
    // with its lost rows white; empty when the picture is copied as it is.
    QByteArray rebuiltPicture;

    // The length of the picture in the new base.
    [[nodiscard]] std::int64_t newPictureLength() const;
};

struct RecoveryReport {
    std::vector<RecoveredRecord> records;  // in the order of the damaged base
    // Records the header counts that were not read through the index.
    std::int64_t unreadableIndexRecords = 0;
    // Bytes that are neither the header, nor the index entry, text or
    // picture of a record recovered.
    std::int64_t unclaimedBytes = 0;
};

struct RecoveryOptions {
    // Keep a last picture cut short, as far as its whole rows go.
    bool keepCutPictures = false;
};

// Finds every record of `damaged` whose text and picture can still be read:
// those the index gives, where their bytes hold up, and those a look
// through the rest of the file finds, each once, in file order. Reads
// through bounded reads only; never writes.
[[nodiscard]] RecoveryReport findRecoverableRecords(const BinaryFile& damaged,
                                                    RecoveryOptions options = {});

// The size of the base that writeRecoveredBase writes.
[[nodiscard]] std::int64_t recoveredBaseSize(const RecoveryReport& report);

// Writes a sound base of the records found, in their order, telling
// `progress` of the bytes written.
void writeRecoveredBase(const BinaryFile& damaged, const RecoveryReport& report, BinaryFile& target,
                        const CopyProgress& progress = {});

}  // namespace pictarium
