#include "engine/class_dbp.h"

#include "engine/base_state_p.h"

#include "base/run_errors.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"
#include "engine/stored_picture_p.h"
#include "imaging/core/bitmap_codec.h"

namespace pictarium {

bool ClassDBP::MoveFirst() {
    if (mState->RecordCount < 1) {
        return false;
    }
    mState->CurrentIndex = -1;
    return MoveNext();
}

bool ClassDBP::MoveEnd() {
    if (mState->RecordCount < 1) {
        return false;
    }
    mState->CurrentIndex = mState->RecordCount - 2;
    return MoveNext();
}

bool ClassDBP::MoveTo(std::int32_t index) {
    if (mState->FileNumber.isOpen() && (index < 0 || index >= mState->RecordCount)) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    mState->CurrentIndex = index - 1;
    return MoveNext();
}

bool ClassDBP::passesMoveGuard() {
    if (!isBaseReady()) {
        return false;
    }
    setBusy(true);
    return true;
}

bool ClassDBP::MoveNext() {
    if (!passesMoveGuard()) {
        return false;
    }
    const std::int32_t count = mState->RecordCount;
    const std::int32_t current = mState->CurrentIndex;
    if (count <= 0) {
        RefreshButtons();
        return false;
    }
    if (std::int64_t{current} >= std::int64_t{count} - 1) {
        RefreshButtons();
        informationBox(EngineText::LastRecord, EngineText::Title);
        return false;
    }
    return showRecord(current + 1);
}

bool ClassDBP::MoveLast() {
    if (!passesMoveGuard()) {
        return false;
    }
    const std::int32_t count = mState->RecordCount;
    const std::int32_t current = mState->CurrentIndex;
    if (count <= 0) {
        setBusy(false);
        return false;
    }
    if (current <= 0) {
        RefreshButtons();
        informationBox(EngineText::FirstRecord, EngineText::PreviousTitle);
        return false;
    }
    return showRecord(current - 1);
}

bool ClassDBP::showRecord(std::int32_t index) {
    QImage picture;
    QString text;
    try {
        ReadRecord(index, picture, text);
    } catch (...) {
        return failRecordRead(runFailureOfCurrentException());
    }
    if (picture.isNull()) {
        damagedBaseBox(EngineText::CorruptPicture);
        setBusy(false);
        return false;
    }
    mHost.GetContent(picture, text);
    mState->CurrentIndex = index;
    RefreshButtons();
    return true;
}

bool ClassDBP::failRecordRead(const RunFailure& failure) {
    damagedBaseBox(runErrorText(failure.number(), failure.detail()));
    mState->FileNumber.close();
    mHost.GetContent(QImage(), QString());
    RefreshButtons();
    return false;
}

void ClassDBP::ReadRecord(std::int32_t index, QImage& picture, QString& text) {
    const BinaryFile& file = mState->FileNumber;
    IndexEntry& entry = mState->Entry;
    entry = readIndexEntry(file, mState->RecordCount, index);
    requireStoredLengths(entry);
    const std::int32_t textAt = fileOffsetOf(mState->RecordCount, entry.TextOffset);
    const std::int32_t pictureAt = fileOffsetOf(mState->RecordCount, entry.PicOffset);

    // An entry that points outside the file gives no picture; nothing is
    // allocated for bytes the file does not hold.
    const std::int64_t fileSize = file.openedSize();
    if (!liesInFile(textAt, entry.TextLength, fileSize) ||
        !liesInFile(pictureAt, entry.PicLength, fileSize)) {
        mState->TextBytes.clear();
        mState->PictureFile.clear();
        picture = QImage();
        text.clear();
        return;
    }

    readText(textAt, entry.TextLength);
    mState->PictureFile = readStoredPicture(file, pictureAt, entry.PicLength);

    picture = BytesToPicture();
    text = BytesToText(mState->TextBytes);
}

// The `length` text bytes at `textAt`, a place in the file already
// checked, into TextBytes, decoded from their stored form.
void ClassDBP::readText(std::int32_t textAt, std::int32_t length) {
    QByteArray& textBytes = mState->TextBytes;
    textBytes = QByteArray(length, Qt::Uninitialized);
    mState->FileNumber.readExactAt(textAt, textBytes.data(), static_cast<std::size_t>(length));
    FlipBytes(textBytes);
}

bool ClassDBP::SelectRecord(std::int32_t index) {
    if (!isBaseReady()) {
        return false;
    }
    if (index < 0 || index >= mState->RecordCount) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    try {
        mState->Entry = readIndexEntry(mState->FileNumber, mState->RecordCount, index);
        requireStoredLengths(mState->Entry);
        const std::int32_t textAt = fileOffsetOf(mState->RecordCount, mState->Entry.TextOffset);
        if (!liesInFile(textAt, mState->Entry.TextLength, mState->FileNumber.openedSize())) {
            throw RunFailure(RunError::InputPastEndOfFile);
        }
        readText(textAt, mState->Entry.TextLength);
    } catch (...) {
        ShowError(runFailureOfCurrentException());
        return false;
    }
    mState->CurrentIndex = index;
    return true;
}

QImage ClassDBP::BytesToPicture() const {
    return pictureFromBitmapFile(mState->PictureFile);
}

}  // namespace pictarium
