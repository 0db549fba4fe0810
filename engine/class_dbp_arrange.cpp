// Changes that keep every picture as it is stored: new descriptions, a new
// order, records left out for the trash and brought back from it. Each is
// one rewrite of the base.

#include "engine/class_dbp.h"

#include "base/run_errors.h"
#include "engine/base_rewrite_p.h"
#include "engine/base_state_p.h"
#include "engine/base_trash.h"
#include "engine/engine_texts.h"
#include "engine/index_reader_p.h"
#include "engine/record_arrangement_p.h"
#include "imaging/core/bitmap_codec.h"

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

bool ClassDBP::ReorderBDP(const QList<std::int32_t>& order, std::int32_t shown) {
    if (!isBaseReady()) {
        return false;
    }
    const std::set<std::int32_t> distinct(order.begin(), order.end());
    if (order.size() != mState->RecordCount ||
        distinct.size() != static_cast<std::size_t>(order.size()) ||
        (!distinct.empty() && (*distinct.begin() < 0 || *distinct.rbegin() >= order.size()))) {
        stopBox(EngineText::BadIndex);
        return false;
    }
    if (!isRecordIndex(shown)) {
        return false;
    }
    std::vector<ArrangedRecord> records;
    records.reserve(order.size());
    for (const std::int32_t from : order) {
        records.push_back({from, {}, {}});
    }
    return rearrangeBase(LongOperation::MovingRecord, records, shown);
}

bool ClassDBP::DeleteRecordsBDP(const QList<std::int32_t>& indexes, QStringList* trashed) {
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
    // The deleted records reach the trash, on the disk, before the base
    // changes: a record is always in one or the other.
    BaseTrash trash(mHost.trashFolder(), mState->FileName);
    QStringList pending;
    const auto toTrash = [&] {
        const BinaryFile& base = mState->FileNumber;
        IndexReader index(base, mState->RecordCount);
        const std::int64_t indexSize = std::int64_t{IndexEntrySize} * mState->RecordCount;
        for (const std::int32_t at : removed) {
            const IndexEntry entry = index.entry(at);
            requireStoredLengths(entry);
            QByteArray text(entry.TextLength, Qt::Uninitialized);
            base.readExactAt(indexSize + entry.TextOffset, text.data(),
                             static_cast<std::size_t>(entry.TextLength));
            pending.append(
                trash.addPending(at, text, base, indexSize + entry.PicOffset, entry.PicLength));
        }
    };
    if (!rearrangeBase(operation, records, shown, toTrash)) {
        trash.discard(pending);
        return false;
    }
    // The base is the new one now: a record left pending is settled at the
    // next look at the trash.
    try {
        pending = trash.keep(pending);
    } catch (const RunFailure&) {
    }
    if (trashed != nullptr) {
        *trashed = pending;
    }
    if (const int left = trash.keepWithin(mHost.trashLimit()); left > 0) {
        informationBox(EngineText::trashOverflow(left), EngineText::Title);
    }
    return true;
}

QList<TrashedRecord> ClassDBP::TrashBDP() {
    if (!isBaseReady()) {
        return {};
    }
    try {
        return BaseTrash(mHost.trashFolder(), mState->FileName)
            .records(mState->FileNumber, mState->RecordCount);
    } catch (...) {
        ShowError(runFailureOfCurrentException());
        return {};
    }
}

QImage ClassDBP::TrashPicture(const TrashedRecord& record) const {
    try {
        const QByteArray stored = BaseTrash(mHost.trashFolder(), mState->FileName).picture(record);
        return pictureFromBitmapFile(
            QByteArray(RebuiltBitmapPrefix.data(), qsizetype{RebuiltBitmapPrefix.size()}) + stored);
    } catch (const RunFailure&) {
        return {};
    }
}

bool ClassDBP::RestoreBDP(QList<TrashedRecord> trashed, QList<std::int32_t>* placed) {
    if (!isBaseReady() || trashed.isEmpty()) {
        return false;
    }
    std::sort(trashed.begin(), trashed.end(),
              [](const auto& a, const auto& b) { return a.formerIndex < b.formerIndex; });
    BaseTrash trash(mHost.trashFolder(), mState->FileName);
    std::vector<ArrangedRecord> records = recordsInOrder(mState->RecordCount);
    QList<std::int32_t> places;
    QStringList files;
    try {
        for (const TrashedRecord& record : trashed) {
            // Back where it was, or at the end of a base now shorter.
            const auto at = std::clamp<std::int32_t>(record.formerIndex, 0,
                                                     static_cast<std::int32_t>(records.size()));
            records.insert(records.begin() + at, {-1, record.text, trash.picture(record)});
            for (std::int32_t& place : places) {
                place += place >= at ? 1 : 0;
            }
            places.append(at);
            files.append(record.file);
        }
    } catch (...) {
        ShowError(runFailureOfCurrentException());
        return false;
    }
    if (!rearrangeBase(LongOperation::RestoringRecords, records,
                       *std::min_element(places.begin(), places.end()))) {
        return false;
    }
    trash.discard(files);
    if (placed != nullptr) {
        *placed = places;
    }
    return true;
}

bool ClassDBP::EmptyTrashBDP() {
    if (!isBaseReady()) {
        return false;
    }
    BaseTrash trash(mHost.trashFolder(), mState->FileName);
    QStringList files;
    for (const TrashedRecord& record : TrashBDP()) {
        files.append(record.file);
    }
    trash.discard(files);
    return true;
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
                             std::int32_t shown, const std::function<void()>& beforeWriting) {
    setBusy(true);
    try {
        const BinaryFile& base = mState->FileNumber;
        const std::int32_t count = mState->RecordCount;
        const VersionWriter writer{[&](BinaryFile& target) {
            if (beforeWriting) {
                beforeWriting();
            }
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
