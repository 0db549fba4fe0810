// Changes that keep every picture as it is stored: new descriptions, a new
// order, records left out. Each is one rewrite of the base.

#include "engine/class_dbp.h"

#include "base/run_errors.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/engine_texts.h"
#include "engine/record_arrangement_p.h"

#include <algorithm>
#include <set>

namespace pictarium {

bool ClassDBP::ChangeTextsBDP(const QList<TextChange>& changes, qsizetype* refused) {
    if (refused != nullptr) {
        *refused = -1;
    }
    if (!isBaseReady() || changes.isEmpty()) {
        return false;
    }
    std::vector<ArrangedRecord> records = recordsInOrder(mState->RecordCount);
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const TextChange& change = changes.at(i);
        if (!isRecordIndex(change.index) || !isAcceptableText(change.text)) {
            if (refused != nullptr) {
                *refused = i;
            }
            return false;
        }
        QByteArray stored = TextToBytes(change.text);
        FlipBytes(stored);
        records[static_cast<std::size_t>(change.index)].text = std::move(stored);
    }
    const LongOperation operation =
        changes.size() > 1 ? LongOperation::ChangingTexts : LongOperation::ChangingText;
    return rearrangeBase(operation, records, changes.constLast().index);
}

bool ClassDBP::MoveRecordBDP(std::int32_t from, std::int32_t to) {
    if (!isBaseReady() || !isRecordIndex(from) || !isRecordIndex(to)) {
        return false;
    }
    std::vector<ArrangedRecord> records = recordsInOrder(mState->RecordCount);
    const auto first = records.begin();
    if (from < to) {
        std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
        std::rotate(first + to, first + from, first + from + 1);
    }
    return rearrangeBase(LongOperation::MovingRecord, records, to);
}

bool ClassDBP::DeleteRecordsBDP(const QList<std::int32_t>& indexes) {
    if (!isBaseReady()) {
        return false;
    }
    if (mState->RecordCount <= 0) {
        stopBox(EngineText::NothingToDelete);
        return false;
    }
    const std::set<std::int32_t> removed(indexes.begin(), indexes.end());
    if (removed.empty() || removed.size() != static_cast<std::size_t>(indexes.size())) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    if (!isRecordIndex(*removed.begin()) || !isRecordIndex(*removed.rbegin())) {
        return false;
    }
    std::vector<ArrangedRecord> records;
    for (const ArrangedRecord& record : recordsInOrder(mState->RecordCount)) {
        if (!removed.contains(record.from)) {
            records.push_back(record);
        }
    }
    // The record that takes the place of the first one deleted is shown,
    // or the last when none does.
    const auto shown =
        std::min<std::int32_t>(*removed.begin(), static_cast<std::int32_t>(records.size()) - 1);
    const LongOperation operation =
        removed.size() > 1 ? LongOperation::DeletingRecords : LongOperation::DeletingRecord;
    return rearrangeBase(operation, records, shown);
}

bool ClassDBP::DeleteBDP() {
    if (!isBaseReady() || !hasCurrentRecord(EngineText::NothingToDelete)) {
        return false;
    }
    return DeleteRecordsBDP({mState->CurrentIndex});
}

bool ClassDBP::isRecordIndex(std::int32_t index) {
    if (index < 0 || index >= mState->RecordCount) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    return true;
}

bool ClassDBP::isAcceptableText(const QString& text) {
    if (text.size() > MaxTextLength) {
        stopBox(EngineText::TextTooLong);
        return false;
    }
    if (hasOnlySpaces(text)) {
        stopBox(EngineText::TextMissing);
        return false;
    }
    return true;
}

// Writes the base as `records` arrange the open one, then shows record
// `shown` of the new base (none when it is empty).
bool ClassDBP::rearrangeBase(LongOperation operation, const std::vector<ArrangedRecord>& records,
                             std::int32_t shown) {
    setBusy(true);
    try {
        const BinaryFile& base = mState->FileNumber;
        const std::int32_t count = mState->RecordCount;
        const VersionWriter writer{[&](BinaryFile& target) {
            mState->Signature = BdpSignature;
            writeArrangedBase(base, count, records, target, mState->RewriteProgress);
        }};
        if (!replaceBaseWith(operation, arrangedBaseSize(base, count, records), writer)) {
            return false;
        }
    } catch (...) {
        // Nothing was replaced: the base stays open as it was.
        ShowError(runFailureOfCurrentException());
        RefreshButtons();
        return false;
    }
    mState->RecordCount = static_cast<std::int32_t>(records.size());
    mState->CurrentIndex = std::max(shown, 0) - 1;
    MoveNext();
    return true;
}

}  // namespace pictarium
