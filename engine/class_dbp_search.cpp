#include "engine/class_dbp.h"

#include "engine/base_state_p.h"

#include "base/checked_int32.h"
#include "base/run_errors.h"
#include "engine/description_match.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"

#include <algorithm>
#include <array>

namespace pictarium {

namespace {

// Every record is searched in the 255 bytes that start at its text, the
// longest a description can be; a shorter text shares the window with the
// first bytes of its picture.
constexpr std::size_t kSearchWindow = MaxTextLength;

// Serves the 255-byte windows of a scan from blocks of the file, so that
// records with small pictures share one read.
class WindowReader {
public:
    WindowReader(const BinaryFile& file, bool backwards) : mFile(file), mBackwards(backwards) {}

    // Up to kSearchWindow bytes from `offset`; fewer at the end of the file.
    std::pair<const char*, std::size_t> at(std::int64_t offset) {
        if (offset < 0) {
            throw RunFailure(RunError::BadRecordNumber);
        }
        if (!holds(offset)) {
            const auto blockSize = static_cast<std::int64_t>(mBlock.size());
            const std::int64_t windowEnd = offset + static_cast<std::int64_t>(kSearchWindow);
            mStart = mBackwards ? std::max<std::int64_t>(0, windowEnd - blockSize) : offset;
            mLength = mFile.readAt(mStart, mBlock.data(), mBlock.size());
        }
        const auto skip = static_cast<std::size_t>(offset - mStart);
        const std::size_t available = mLength > skip ? mLength - skip : 0;
        return {mBlock.data() + skip, std::min(kSearchWindow, available)};
    }

private:
    // True when the block has the whole window, or all the file has of it.
    [[nodiscard]] bool holds(std::int64_t offset) const {
        if (mStart < 0 || offset < mStart) {
            return false;
        }
        const std::int64_t end = mStart + static_cast<std::int64_t>(mLength);
        const bool blockReachedFileEnd = mLength < mBlock.size();
        return offset + static_cast<std::int64_t>(kSearchWindow) <= end || blockReachedFileEnd;
    }

    const BinaryFile& mFile;
    bool mBackwards;
    std::array<char, 8192> mBlock{};
    std::int64_t mStart = -1;
    std::size_t mLength = 0;
};

}  // namespace

bool ClassDBP::SearchBDP(const QString& iText, bool iLast) {
    if (!isBaseReady() || !hasCurrentRecord(EngineText::NothingToSearch)) {
        return false;
    }
    const std::int32_t count = mState->RecordCount;
    const std::int32_t current = mState->CurrentIndex;
    if (hasOnlySpaces(iText)) {
        stopBox(EngineText::SearchTextMissing);
        return false;
    }
    if (!iLast && current >= count - 1) {
        RefreshButtons();
        informationBox(EngineText::LastRecord, EngineText::Title);
        return false;
    }
    if (iLast && current <= 0) {
        RefreshButtons();
        informationBox(EngineText::FirstRecord, EngineText::Title);
        return false;
    }
    setBusy(true);
    std::int32_t hit = -1;
    try {
        mState->TextBytes = TextToBytes(iText);
        FlipBytes(mState->TextBytes);
        hit = findText(DescriptionMatch(iText), iLast);
    } catch (...) {
        // A failing scan is silent: the base stays open as it was.
        setBusy(false);
        RefreshButtons();
        return false;
    }
    if (hit < 0) {
        informationBox(EngineText::NothingFound, EngineText::Title);
        setBusy(false);
        return false;
    }
    mState->CurrentIndex = hit - 1;
    MoveNext();
    return true;
}

std::int32_t ClassDBP::findText(const DescriptionMatch& query, bool backwards) {
    const BinaryFile& file = mState->FileNumber;
    const std::int32_t count = mState->RecordCount;
    const std::int32_t indexSize = checkedMul(IndexEntrySize, count);
    const std::int32_t step = backwards ? -1 : 1;
    IndexReader index(file, count);
    WindowReader windows(file, backwards);
    for (std::int32_t i = mState->CurrentIndex + step; i >= 0 && i < count; i += step) {
        mState->Entry = index.entry(i);
        const auto [bytes, length] = windows.at(checkedAdd(indexSize, mState->Entry.TextOffset));
        if (query.matchesStored(bytes, length)) {
            return i;
        }
    }
    return -1;
}

}  // namespace pictarium
