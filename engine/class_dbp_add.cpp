#include "engine/class_dbp.h"

#include "base/checked_int32.h"
#include "base/run_errors.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"
#include "imaging/bitmap_codec.h"

#include <limits>

namespace pictarium {

namespace {

// Offsets are signed 32-bit: a base must stay below 2 GiB.
void requireBaseSize(std::int64_t size) {
    if (size > std::numeric_limits<std::int32_t>::max()) {
        throw RunFailure(RunError::Overflow, EngineText::BaseTooLarge);
    }
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
    const std::int32_t count = mState->RecordCount;
    try {
        // Refused before anything is copied.
        const std::int64_t newSize =
            mState->FileNumber.size() + IndexEntrySize + iText.size() + storedPictureLength();
        requireBaseSize(newSize);
        const VersionWriter writer{[&](BinaryFile& target) { writeBaseWith(iText, target); }};
        if (!replaceBaseWith(LongOperation::AddingPicture, newSize, writer)) {
            return false;
        }
    } catch (...) {
        recoverFailedAdd(runFailureOfCurrentException());
        return false;
    }
    // The base holds the new record: nothing from here makes the add fail.
    mState->RecordCount = count + 1;
    mState->CurrentIndex = count - 1;
    MoveNext();
    return true;
}

bool ClassDBP::PictureToBytes(const QImage& picture, QByteArray& bitmapFile) {
    try {
        // One that could not be read back is not stored.
        try {
            requireWithinPixelLimit(picture.width(), picture.height());
        } catch (const PictureTooLarge&) {
            throw RunFailure(RunError::InvalidPicture,
                             pixelLimitText(picture.width(), picture.height()));
        }
        bitmapFile = bitmapFileOf(picture);
        if (bitmapFile.size() <= qsizetype{RebuiltBitmapPrefix.size()}) {
            throw RunFailure(RunError::OutOfMemory);
        }
        requireBaseSize(bitmapFile.size() - qsizetype{RebuiltBitmapPrefix.size()});
        return true;
    } catch (...) {
        bitmapFile.clear();
        ShowError(runFailureOfCurrentException());
        return false;
    }
}

// Writes the open base followed by one record, `text` and the picture of
// PictureFile, into the temporary file.
void ClassDBP::writeBaseWith(const QString& text, BinaryFile& target) {
    const BinaryFile& source = mState->FileNumber;
    const std::int32_t count = mState->RecordCount;
    const std::int32_t newCount = checkedAdd(count, 1);
    mState->Signature = BdpSignature;
    const auto header = encodeHeader(newCount);
    target.write(header.data(), header.size());

    IndexEntry& entry = mState->Entry;
    if (count > 0) {
        target.appendFrom(source, HeaderSize, checkedMul(IndexEntrySize, count),
                          mState->RewriteProgress);
        entry = readIndexEntry(source, count, count - 1);
        entry.TextOffset =
            checkedAdd(checkedAdd(entry.TextLength, entry.TextOffset), entry.PicLength);
    } else {
        entry.TextOffset = FirstTextOffset;
    }
    entry.TextLength = toInt32(text.size());
    entry.PicOffset = checkedAdd(entry.TextOffset, entry.TextLength);
    entry.PicLength = toInt32(storedPictureLength());
    const auto entryBytes = encodeEntry(entry);
    target.write(entryBytes.data(), entryBytes.size());

    if (count >= 1) {
        const std::int32_t dataStart = checkedAdd(HeaderSize, checkedMul(IndexEntrySize, count));
        const std::int32_t dataLength = checkedSub(toInt32(source.size()), dataStart);
        if (dataLength < 0) {
            throw RunFailure(RunError::InputPastEndOfFile);
        }
        target.appendFrom(source, dataStart, dataLength, mState->RewriteProgress);
    }

    mState->TextBytes = TextToBytes(text);
    FlipBytes(mState->TextBytes);
    target.write(mState->TextBytes.constData(), static_cast<std::size_t>(mState->TextBytes.size()));
    target.write(mState->PictureFile.constData() + RebuiltBitmapPrefix.size(),
                 static_cast<std::size_t>(storedPictureLength()));
}

qsizetype ClassDBP::storedPictureLength() const {
    return mState->PictureFile.size() - qsizetype{RebuiltBitmapPrefix.size()};
}

// Nothing was replaced: the base on disk is whole, and it is reopened at
// its first record.
void ClassDBP::recoverFailedAdd(const RunFailure& failure) {
    ShowError(failure);
    mState->FileNumber.close();
    OpenBDP(mState->FileName);
    setBusy(false);
}

}  // namespace pictarium
