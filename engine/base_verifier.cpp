#include "engine/base_verifier.h"

#include "base/binary_file.h"
#include "base/run_errors.h"
#include "engine/index_reader_p.h"
#include "engine/stored_picture_p.h"

#include "imaging/core/bitmap_codec.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pictarium {

namespace {

QString number(std::int64_t value) {
    return QString::number(value);
}

QString hex(std::int32_t value) {
    return QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(value), 8, 16, QChar(u'0'));
}

}  // namespace

QString BaseProblem::toText() const {
    const QString where = record == WholeFile ? QStringLiteral("Fichier")
                                              : QStringLiteral("Enregistrement %1").arg(record);
    return where + QStringLiteral(" : ") + description;
}

BaseVerifier::BaseVerifier(const BinaryFile& file) : mFile(file) {}

QList<BaseProblem> BaseVerifier::verify(Pictures pictures) {
    mProblems.clear();
    mDataLength = 0;
    mPictures = pictures;
    mFileSize = mFile.size();
    if (!checkHeader()) {
        return mProblems;
    }
    IndexReader index(mFile, mRecordCount);
    std::int64_t expectedTextOffset = FirstTextOffset;
    for (std::int32_t record = 0; record < mRecordCount; ++record) {
        IndexEntry entry;
        try {
            entry = index.entry(record);
        } catch (const RunFailure&) {
            report(record, QStringLiteral("entrée d'index illisible."));
            return mProblems;
        }
        checkRecord(record, entry, expectedTextOffset);
        expectedTextOffset = std::int64_t{entry.TextOffset} + entry.TextLength + entry.PicLength;
    }
    checkFileLength();
    return mProblems;
}

// Everything else depends on the header and on the index fitting in the
// file, so a fault here ends the check.
bool BaseVerifier::checkHeader() {
    std::array<char, HeaderSize> header{};
    if (mFileSize < HeaderSize || !readAt(0, header.data(), HeaderSize)) {
        report(BaseProblem::WholeFile,
               QStringLiteral("%1 octets, trop court pour l'en-tête de %2 octets.")
                   .arg(number(mFileSize), number(HeaderSize)));
        return false;
    }
    const std::int32_t signature = getInt32(header.data());
    if (signature != BdpSignature) {
        report(BaseProblem::WholeFile,
               QStringLiteral("signature %1 au lieu de %2 : ce n'est pas une base Pictarium.")
                   .arg(hex(signature), hex(BdpSignature)));
        return false;
    }
    mRecordCount = getInt32(header.data() + 4);
    if (mRecordCount < 0) {
        report(BaseProblem::WholeFile,
               QStringLiteral("nombre d'enregistrements négatif (%1).").arg(mRecordCount));
        return false;
    }
    mDataStart = HeaderSize + std::int64_t{IndexEntrySize} * mRecordCount;
    if (mDataStart > mFileSize) {
        report(BaseProblem::WholeFile,
               QStringLiteral("la table d'index de %1 entrées finirait à l'octet %2, après la "
                              "fin du fichier (%3 octets).")
                   .arg(number(mRecordCount), number(mDataStart), number(mFileSize)));
        return false;
    }
    return true;
}

void BaseVerifier::checkRecord(std::int32_t index, const IndexEntry& entry,
                               std::int64_t expectedTextOffset) {
    mDataLength += std::int64_t{entry.TextLength} + entry.PicLength;
    checkLengths(index, entry);
    checkOffsets(index, entry, expectedTextOffset);
    const bool textInside =
        checkRange(index, QStringLiteral("texte"), mDataStart - HeaderSize + entry.TextOffset,
                   entry.TextLength);
    const bool pictureInside = checkRange(
        index, QStringLiteral("image"), mDataStart - HeaderSize + entry.PicOffset, entry.PicLength);
    if (textInside && pictureInside && mPictures == Pictures::Decode) {
        checkPicture(index, entry);
    }
}

void BaseVerifier::checkLengths(std::int32_t index, const IndexEntry& entry) {
    if (entry.TextLength < 1 || entry.TextLength > MaxTextLength) {
        report(index, QStringLiteral("longueur du texte %1 hors de 1 à %2.")
                          .arg(number(entry.TextLength), number(MaxTextLength)));
    }
    if (entry.PicLength < 1) {
        report(index,
               QStringLiteral("longueur de l'image %1, au moins 1 attendu.").arg(entry.PicLength));
    }
}

void BaseVerifier::checkOffsets(std::int32_t index, const IndexEntry& entry,
                                std::int64_t expectedTextOffset) {
    if (entry.TextOffset != expectedTextOffset) {
        report(index, QStringLiteral("position du texte %1 au lieu de %2.")
                          .arg(number(entry.TextOffset), number(expectedTextOffset)));
    }
    const std::int64_t expectedPicOffset = std::int64_t{entry.TextOffset} + entry.TextLength;
    if (entry.PicOffset != expectedPicOffset) {
        report(index, QStringLiteral("position de l'image %1 au lieu de %2.")
                          .arg(number(entry.PicOffset), number(expectedPicOffset)));
    }
}

// `offset` is absolute. The range must lie in the data area.
bool BaseVerifier::checkRange(std::int32_t index, const QString& what, std::int64_t offset,
                              std::int64_t length) {
    if (length < 1) {
        return false;  // already reported as a length
    }
    if (offset >= mDataStart && offset + length <= mFileSize) {
        return true;
    }
    report(index, QStringLiteral("%1 aux octets %2 à %3, hors de la zone des données (octets %4 "
                                 "à %5).")
                      .arg(what, number(offset), number(offset + length - 1), number(mDataStart),
                           number(mFileSize - 1)));
    return false;
}

void BaseVerifier::checkPicture(std::int32_t index, const IndexEntry& entry) {
    const std::int64_t offset = mDataStart - HeaderSize + entry.PicOffset;
    QByteArray bitmapFile;
    try {
        bitmapFile = readStoredPicture(mFile, offset, entry.PicLength);
    } catch (const RunFailure&) {
        report(index, QStringLiteral("image illisible dans le fichier."));
        return;
    }
    if (pictureFromBitmapFile(bitmapFile).isNull()) {
        report(index,
               QStringLiteral("l'image ne se reconstruit pas : ses %1 octets ne forment pas un "
                              "bitmap lisible.")
                   .arg(entry.PicLength));
    }
}

void BaseVerifier::checkFileLength() {
    const std::int64_t expected = mDataStart + mDataLength;
    if (mFileSize != expected) {
        report(BaseProblem::WholeFile,
               QStringLiteral("%1 octets au lieu de %2 (en-tête, index de %3 entrées et données "
                              "des enregistrements).")
                   .arg(number(mFileSize), number(expected), number(mRecordCount)));
    }
    if (mFileSize > std::numeric_limits<std::int32_t>::max()) {
        report(BaseProblem::WholeFile,
               QStringLiteral("%1 octets : une base atteint au plus 2 Gio moins un octet.")
                   .arg(number(mFileSize)));
    }
}

bool BaseVerifier::readAt(std::int64_t offset, char* destination, std::int64_t count) {
    try {
        mFile.readExactAt(offset, destination, static_cast<std::size_t>(count));
        return true;
    } catch (const RunFailure&) {
        return false;
    }
}

void BaseVerifier::report(std::int32_t record, const QString& description) {
    mProblems.append({record, description});
}

}  // namespace pictarium
