#pragma once

#include "engine/bdp_format.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <cstdint>

namespace pictarium::cli {

struct BaseProblem {
    static constexpr std::int32_t WholeFile = -1;

    std::int32_t record = WholeFile;  // 0-based record index, or WholeFile
    QString description;              // in French

    // "Fichier : ..." or "Enregistrement 3 : ...".
    [[nodiscard]] QString toText() const;
};

// Checks a BDP file byte by byte against every rule of the format, and that
// each stored picture rebuilds into a bitmap the way the engine decodes it. Reads the device
// through bounded reads only: a corrupt count, length or offset never makes it allocate more than
// the device holds.
class BaseVerifier {
public:
    // `device` must be open for reading and random access.
    explicit BaseVerifier(QIODevice& device);

    // The problems in file order; empty for a sound base.
    [[nodiscard]] QList<BaseProblem> verify();
    [[nodiscard]] std::int32_t recordCount() const { return mRecordCount; }

private:
    [[nodiscard]] bool checkHeader();
    [[nodiscard]] bool readEntry(std::int32_t index, IndexEntry& entry);
    void checkRecord(std::int32_t index, const IndexEntry& entry, std::int64_t expectedTextOffset);
    void checkLengths(std::int32_t index, const IndexEntry& entry);
    void checkOffsets(std::int32_t index, const IndexEntry& entry, std::int64_t expectedTextOffset);
    [[nodiscard]] bool checkRange(std::int32_t index, const QString& what, std::int64_t offset,
                                  std::int64_t length);
    void checkPicture(std::int32_t index, const IndexEntry& entry);
    void checkFileLength();

    [[nodiscard]] bool readAt(std::int64_t offset, char* destination, std::int64_t count);
    void report(std::int32_t record, const QString& description);

    QIODevice& mDevice;
    std::int64_t mFileSize = 0;
    std::int32_t mRecordCount = 0;
    std::int64_t mDataStart = 0;
    std::int64_t mDataLength = 0;  // sum of all stored lengths
    QList<BaseProblem> mProblems;
};

}  // namespace pictarium::cli
