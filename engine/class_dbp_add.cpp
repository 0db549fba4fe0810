#include "engine/class_dbp.h"

#include "engine/base_state_p.h"

#include "base/checked_int32.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "engine/engine_texts.h"
#include "imaging/bitmap_codec.h"

namespace pictarium {

namespace {

IndexEntry readEntry(const BinaryFile& file, std::int32_t index) {
    EntryBytes bytes{};
    file.readExactAt(checkedAdd(HeaderSize, checkedMul(IndexEntrySize, index)), bytes.data(),
                     bytes.size());
    return decodeEntry(bytes.data());
}

}  // namespace

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
    bool backupComplete = false;
    try {
        appendRecord(iText, backupComplete);
        return true;
    } catch (...) {
        recoverFailedAdd(runErrorOfCurrentException(), backupComplete);
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
void ClassDBP::appendRecord(const QString& text, bool& backupComplete) {
    const std::int32_t count = mState->RecordCount;
    const QString tempPath = TempBasePath();
    const QString backupPath = BackupBasePath();
    const qsizetype pictureLength =
        mState->PictureFile.size() - qsizetype{RebuiltBitmapPrefix.size()};
    // Refuse a base that would reach 2 GiB before copying anything.
    (void)checkedAdd(toInt32(mState->FileNumber.size()),
                     checkedAdd(IndexEntrySize, toInt32(text.size() + pictureLength)));

    mState->FileNumber.close();
    copyFile(mState->FileName, backupPath, false);
    backupComplete = true;
    mState->FileNumber = BinaryFile::openForReading(mState->FileName);
    const BinaryFile& source = mState->FileNumber;

    const std::int32_t newCount = checkedAdd(count, 1);
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
        entry = readEntry(source, count - 1);
        entry.TextOffset =
            checkedAdd(checkedAdd(entry.TextLength, entry.TextOffset), entry.PicLength);
    } else {
        entry.TextOffset = FirstTextOffset;
    }
    entry.TextLength = toInt32(text.size());
    entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
    entry.PicLength = toInt32(pictureLength);
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
                 static_cast<std::size_t>(pictureLength));
    target.sync();
    target.close();
    mState->FileNumber.close();

    replaceFile(tempPath, mState->FileName);
    // From here the base holds the new record: a later failure must not
    // put the old base back.
    backupComplete = false;
    removeFileQuietly(tempPath);
    removeFile(backupPath);

    mState->FileNumber = BinaryFile::openForReading(mState->FileName);
    mState->RecordCount = newCount;
    mState->CurrentIndex = count - 1;
    MoveNext();
}

void ClassDBP::recoverFailedAdd(int number, bool backupComplete) {
    ShowError(number);
    mState->FileNumber.close();
    removeFileQuietly(TempBasePath());
    const QString backupPath = BackupBasePath();
    if (backupComplete) {
        try {
            replaceFile(backupPath, mState->FileName);
        } catch (...) {
            // The base was never touched before the swap: it is still whole.
        }
    }
    removeFileQuietly(backupPath);
    OpenBDP(mState->FileName);
    setBusy(false);
}

}  // namespace pictarium
