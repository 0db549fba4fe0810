#include "engine/class_dbp.h"

#include "engine/base_backup_p.h"
#include "engine/base_state_p.h"
#include "engine/index_reader_p.h"

#include "base/checked_int32.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/engine_texts.h"
#include "imaging/bitmap_codec.h"

namespace pictarium {

bool ClassDBP::AddBDP(const QImage& Ipic, const QString& iText) {
    if (!isBaseReady()) {
        return false;
    }
    if (iText.size() > MaxTextLength) {
        stopBox(EngineText::TextTooLong);
        return false;
    }
    if (hasOnlySpaces(iText)) {
        stopBox(EngineText::TextMissing);
        return false;
    }
    if (Ipic.isNull()) {
        stopBox(EngineText::PictureMissing);
        return false;
    }
    if (!PictureToBytes(Ipic, mState->PictureFile)) {
        return false;
    }
    setBusy(true);
    try {
        appendRecord(iText);
        return true;
    } catch (...) {
        recoverFailedAdd(runErrorOfCurrentException());
        return false;
    }
}

bool ClassDBP::PictureToBytes(const QImage& picture, QByteArray& bitmapFile) {
    try {
        bitmapFile = bitmapFileOf(picture);
        if (bitmapFile.size() <= qsizetype{RebuiltBitmapPrefix.size()}) {
            throw RunFailure(RunError::OutOfMemory);
        }
        (void)toInt32(bitmapFile.size() - qsizetype{RebuiltBitmapPrefix.size()});
        return true;
    } catch (...) {
        bitmapFile.clear();
        ShowError(runErrorOfCurrentException());
        return false;
    }
}

// Rebuilds the base with the new record into the temporary file, then swaps
// it in. The base itself is only ever replaced whole.
void ClassDBP::appendRecord(const QString& text) {
    const std::int32_t count = mState->RecordCount;
    const QString tempPath = TempBasePath();
    // Refuse a base that would reach 2 GiB before copying anything.
    (void)checkedAdd(toInt32(mState->FileNumber.size()),
                     checkedAdd(IndexEntrySize, toInt32(text.size() + storedPictureLength())));

    mState->FileNumber.close();
    BaseBackup backup(mState->FileName, BackupBasePath());
    mState->FileNumber = BinaryFile::openForReading(mState->FileName);
    writeBaseWith(text);
    mState->FileNumber.close();

    replaceFile(tempPath, mState->FileName);
    // From here the base holds the new record: a later failure must not
    // put the old base back.
    backup.newVersionInPlace();
    removeFileQuietly(tempPath);
    backup.remove();

    mState->FileNumber = BinaryFile::openForReading(mState->FileName);
    mState->RecordCount = checkedAdd(count, 1);
    mState->CurrentIndex = count - 1;
    MoveNext();
}

// Writes the open base followed by one record, `text` and the picture of
// PictureFile, into the temporary file.
void ClassDBP::writeBaseWith(const QString& text) {
    const BinaryFile& source = mState->FileNumber;
    const std::int32_t count = mState->RecordCount;
    const std::int32_t newCount = checkedAdd(count, 1);
    const QString tempPath = TempBasePath();
    if (FileExists(tempPath)) {
        removeFile(tempPath);
    }
    BinaryFile target = BinaryFile::create(tempPath);
    mState->Signature = BdpSignature;
    const auto header = encodeHeader(newCount);
    target.write(header.data(), header.size());

    IndexEntry& entry = mState->Entry;
    if (count > 0) {
        target.appendFrom(source, HeaderSize, checkedMul(IndexEntrySize, count));
        entry = readIndexEntry(source, count, count - 1);
        entry.TextOffset =
            checkedAdd(checkedAdd(entry.TextLength, entry.TextOffset), entry.PicLength);
    } else {
        entry.TextOffset = FirstTextOffset;
    }
    entry.TextLength = toInt32(text.size());
    entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
    entry.PicLength = toInt32(storedPictureLength());
    // The whole new file must stay addressable with signed 32-bit offsets.
    (void)checkedAdd(checkedAdd(entry.PicOffset, entry.PicLength),
                     checkedMul(IndexEntrySize, newCount));
    const auto entryBytes = encodeEntry(entry);
    target.write(entryBytes.data(), entryBytes.size());

    if (count >= 1) {
        const std::int32_t dataStart = checkedAdd(HeaderSize, checkedMul(IndexEntrySize, count));
        const std::int32_t dataLength = checkedSub(toInt32(source.size()), dataStart);
        if (dataLength < 0) {
            throw RunFailure(RunError::InputPastEndOfFile);
        }
        target.appendFrom(source, dataStart, dataLength);
    }

    mState->TextBytes = TextToBytes(text);
    FlipBytes(mState->TextBytes);
    target.write(mState->TextBytes.constData(), static_cast<std::size_t>(mState->TextBytes.size()));
    target.write(mState->PictureFile.constData() + RebuiltBitmapPrefix.size(),
                 static_cast<std::size_t>(storedPictureLength()));
    target.sync();
}

qsizetype ClassDBP::storedPictureLength() const {
    return mState->PictureFile.size() - qsizetype{RebuiltBitmapPrefix.size()};
}

// The backup, if one was taken, has been put back by its guard.
void ClassDBP::recoverFailedAdd(int number) {
    ShowError(number);
    mState->FileNumber.close();
    removeFileQuietly(TempBasePath());
    OpenBDP(mState->FileName);
    setBusy(false);
}

}  // namespace pictarium
