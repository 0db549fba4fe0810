#pragma once

#include "engine/bdp_format.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace pictarium {

struct BaseProblem {
    static constexpr std::int32_t WholeFile = -1;

    std::int32_t record = WholeFile;  // 0-based record index, or WholeFile
    QString description;              // in French

    // "Fichier : ..." or "Enregistrement 3 : ...".
    [[nodiscard]] QString toText() const;
};

class BinaryFile;

// Checks a BDP file byte by byte against every rule of the format, and that
// each stored picture rebuilds into a bitmap the way the engine decodes it.
// Reads through bounded reads only: a corrupt count, length or offset never
// makes it allocate more than the file holds, and a picture too large to be
// decoded is refused from its header.
class BaseVerifier {
public:
    enum class Pictures { Decode, Skip };

    explicit BaseVerifier(const BinaryFile& file);

    // The problems in file order; empty for a sound base. With Skip, only
    // the header and the index are checked against the file: a pass over
    // the index, whatever the size of the pictures.
    [[nodiscard]] QList<BaseProblem> verify(Pictures pictures = Pictures::Decode);
    [[nodiscard]] std::int32_t recordCount() const { return mRecordCount; }

private:
    [[nodiscard]] bool checkHeader();
    void checkRecord(std::int32_t index, const IndexEntry& entry, std::int64_t expectedTextOffset);
    void checkLengths(std::int32_t index, const IndexEntry& entry);
    void checkOffsets(std::int32_t index, const IndexEntry& entry, std::int64_t expectedTextOffset);
    [[nodiscard]] bool checkRange(std::int32_t index, const QString& what, std::int64_t offset,
                                  std::int64_t length);
    void checkPicture(std::int32_t index, const IndexEntry& entry);
    void checkFileLength();

    [[nodiscard]] bool readAt(std::int64_t offset, char* destination, std::int64_t count);
    void report(std::int32_t record, const QString& description);

    const BinaryFile& mFile;
    Pictures mPictures = Pictures::Decode;
    std::int64_t mFileSize = 0;
    std::int32_t mRecordCount = 0;
    std::int64_t mDataStart = 0;
    std::int64_t mDataLength = 0;  // sum of all stored lengths
    QList<BaseProblem> mProblems;
};

}  // namespace pictarium
