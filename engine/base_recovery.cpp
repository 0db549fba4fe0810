#include "engine/base_recovery.h"

#include "base/byte_order.h"
#include "base/run_errors.h"
#include "engine/bdp_format.h"
#include "engine/index_reader_p.h"
#include "engine/stored_picture_p.h"
#include "imaging/core/bitmap_codec.h"
#include "imaging/core/bitmap_extent.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace pictarium {

namespace {

constexpr auto kPrefixLength = static_cast<qsizetype>(RebuiltBitmapPrefix.size());
// The stored bytes that hold the file and info headers of any bitmap.
constexpr std::int64_t kStoredHeadLength = 14 + 124 - kPrefixLength;
// Where a stored picture keeps the size of its info header, and the bytes
// a candidate needs for it to be looked at.
constexpr std::int64_t kHeaderSizeAt = 14 - kPrefixLength;
constexpr std::int64_t kCandidateLength = kHeaderSizeAt + 4;
constexpr std::array<unsigned char, 7> kInfoHeaderSizes = {12, 40, 52, 56, 64, 108, 124};
constexpr std::int64_t kScanChunkLength = std::int64_t{1} << 20;
// Run-length pixels carry no length: they are read in growing windows.
constexpr std::int64_t kFirstRunLengthWindow = std::int64_t{1} << 16;
constexpr std::int64_t kLastRunLengthWindow = std::int64_t{1} << 28;
// How far past the last record placed the index is looked at for the
// lengths of a record found by the scan.
constexpr std::int32_t kHintReach = 4;
constexpr std::int64_t kLargestBase = std::numeric_limits<std::int32_t>::max();
constexpr qsizetype kIndexWriteLength = 4096 * IndexEntrySize;

bool isStoredTextByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 1 && value <= 254;
}

bool isStoredText(const QByteArray& bytes) {
    return !bytes.isEmpty() && bytes.size() <= MaxTextLength &&
           std::all_of(bytes.begin(), bytes.end(), isStoredTextByte);
}

// Up to `length` bytes at `offset`, fewer at the end of the file, none
// when the file cannot be read there.
QByteArray bytesAt(const BinaryFile& file, std::int64_t offset, std::int64_t length) {
    if (offset < 0 || length <= 0) {
        return {};
    }
    QByteArray bytes(static_cast<qsizetype>(length), Qt::Uninitialized);
    try {
        bytes.resize(static_cast<qsizetype>(
            file.readAt(offset, bytes.data(), static_cast<std::size_t>(length))));
    } catch (const RunFailure&) {
        return {};
    }
    return bytes;
}

QByteArray rebuiltBitmap(QByteArray stored) {
    stored.prepend(RebuiltBitmapPrefix.data(), kPrefixLength);
    return stored;
}

bool storedPictureDecodes(const BinaryFile& file, std::int64_t offset, std::int32_t length) {
    try {
        return !pictureFromBitmapFile(readStoredPicture(file, offset, length)).isNull();
    } catch (const RunFailure&) {
        return false;
    }
}

// The stored form of a picture that the end of the file cuts short, its
// lost rows white; empty when not even its first row is there, or when the
// picture is whole after all.
QByteArray rebuiltCutPicture(const BinaryFile& file, std::int64_t offset) {
    const std::int64_t held = file.size() - offset;
    if (held < 1 || held > kLargestBase) {
        return {};
    }
    QByteArray bitmap = rebuiltBitmap(bytesAt(file, offset, held));
    const std::optional<std::int64_t> whole = bitmapFileLength(bitmap);
    if (!whole || *whole <= bitmap.size()) {
        return {};
    }
    QByteArray stored = bitmapFileOf(pictureFromCutBitmapFile(std::move(bitmap)));
    if (stored.size() <= kPrefixLength) {
        return {};
    }
    return stored.remove(0, kPrefixLength);
}

// Whether the four bytes at `bytes` are the size of an info header.
bool isInfoHeaderSize(const char* bytes) {
    if (bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0) {
        return false;
    }
    const auto size = static_cast<unsigned char>(bytes[0]);
    return std::find(kInfoHeaderSizes.begin(), kInfoHeaderSizes.end(), size) !=
           kInfoHeaderSizes.end();
}

// A record found, with the place of its entry in the index (or of the
// entry it would have had) and the bytes it spans in the file.
struct FoundRecord {
    RecoveredRecord record;
    std::int64_t ordinal = -1;

    [[nodiscard]] std::int64_t start() const {
        return std::min(record.textOffset, record.pictureOffset);
    }
    [[nodiscard]] std::int64_t end() const {
        return std::max<std::int64_t>(record.textOffset + record.text.size(),
                                      record.pictureOffset + record.pictureLength);
    }
};

struct TextFound {
    std::int64_t offset = 0;
    QByteArray bytes;
    std::int64_t ordinal = -1;
};

// Looks for candidates through a gap of the file in large reads, however
// often the look starts again.
class CandidateCursor {
public:
    explicit CandidateCursor(const BinaryFile& file) : mFile(file) {}

    // The first offset from `from` where a stored picture could start and
    // whose header size lies before `to`.
    std::optional<std::int64_t> next(std::int64_t from, std::int64_t to) {
        for (std::int64_t at = from; at + kCandidateLength <= to;) {
            if (at < mChunkAt || at + kCandidateLength > mChunkAt + mChunk.size()) {
                mChunkAt = at;
                mChunk = bytesAt(mFile, at, std::min(kScanChunkLength, to - at));
                if (mChunk.size() < kCandidateLength) {
                    return std::nullopt;
                }
            }
            const qsizetype last = std::min<qsizetype>(mChunk.size(), to - mChunkAt);
            for (qsizetype i = at - mChunkAt; i + kCandidateLength <= last; ++i) {
                if (isInfoHeaderSize(mChunk.constData() + i + kHeaderSizeAt)) {
                    return mChunkAt + i;
                }
            }
            // The next read starts at the first offset this one could not test.
            at = mChunkAt + last - kCandidateLength + 1;
            mChunk.clear();
        }
        return std::nullopt;
    }

private:
    const BinaryFile& mFile;
    std::int64_t mChunkAt = 0;
    QByteArray mChunk;
};

class RecordFinder {
public:
    RecordFinder(const BinaryFile& file, RecoveryOptions options)
        : mFile(file), mOptions(options), mFileSize(file.size()), mCursor(file) {}

    RecoveryReport run() {
        readIndex();
        scanGaps();
        return report();
    }

private:
    void readIndex();
    [[nodiscard]] std::optional<RecoveredRecord> recordOfEntry(const IndexEntry& entry) const;
    [[nodiscard]] bool hasSpoiltText(const IndexEntry& entry) const;
    bool takePicture(RecoveredRecord& record) const;
    void keepApartRecords();
    void scanGaps();
    void scanGap(std::int64_t from, std::int64_t to, std::optional<std::int64_t> previousEnd,
                 std::int64_t ordinal);
    [[nodiscard]] std::optional<FoundRecord> recordAt(std::int64_t at, std::int64_t gapStart,
                                                      std::int64_t gapEnd,
                                                      std::optional<std::int64_t> previousEnd,
                                                      std::int64_t ordinal) const;
    [[nodiscard]] std::optional<std::int64_t> storedPictureLength(std::int64_t at,
                                                                  std::int64_t gapEnd) const;
    [[nodiscard]] std::optional<TextFound> textBefore(std::int64_t pictureAt,
                                                      std::int32_t pictureLength,
                                                      std::int64_t gapStart,
                                                      std::optional<std::int64_t> previousEnd,
                                                      std::int64_t ordinal) const;
    struct Hint {
        IndexEntry entry;
        std::int64_t ordinal = -1;
        bool placed = false;  // the entry puts the record exactly there
    };
    [[nodiscard]] std::optional<Hint> hintFor(std::int64_t pictureAt, std::int32_t pictureLength,
                                              std::optional<std::int64_t> previousEnd,
                                              std::int64_t ordinal) const;
    [[nodiscard]] std::optional<IndexEntry> entryAt(std::int64_t ordinal) const;
    RecoveryReport report();

    const BinaryFile& mFile;
    RecoveryOptions mOptions;
    std::int64_t mFileSize;
    CandidateCursor mCursor;
    bool mHeaderSound = false;
    std::int32_t mCountedRecords = 0;  // as the header says
    std::int32_t mReadableEntries = 0;
    std::int64_t mDataStart = HeaderSize;
    std::vector<FoundRecord> mFound;  // in file order once the index is read
    std::vector<FoundRecord> mScanned;
    // Pictures whose entries say their texts are spoilt, in file order.
    std::vector<std::int64_t> mSpoiltTextPictures;
};

void RecordFinder::readIndex() {
    const QByteArray header = bytesAt(mFile, 0, HeaderSize);
    if (header.size() != HeaderSize || getInt32(header.constData()) != BdpSignature) {
        return;
    }
    mHeaderSound = true;
    mCountedRecords = std::max(0, getInt32(header.constData() + 4));
    mDataStart = HeaderSize + std::int64_t{IndexEntrySize} * mCountedRecords;
    mReadableEntries = static_cast<std::int32_t>(
        std::min<std::int64_t>(mCountedRecords, (mFileSize - HeaderSize) / IndexEntrySize));
    IndexReader index(mFile, mReadableEntries);
    for (std::int32_t i = 0; i < mReadableEntries; ++i) {
        IndexEntry entry;
        try {
            entry = index.entry(i);
        } catch (const RunFailure&) {
            break;
        }
        if (std::optional<RecoveredRecord> record = recordOfEntry(entry)) {
            mFound.push_back({std::move(*record), i});
        } else if (hasSpoiltText(entry)) {
            mSpoiltTextPictures.push_back(mDataStart - HeaderSize + entry.PicOffset);
        }
    }
    std::sort(mSpoiltTextPictures.begin(), mSpoiltTextPictures.end());
    keepApartRecords();
}

std::optional<RecoveredRecord> RecordFinder::recordOfEntry(const IndexEntry& entry) const {
    if (entry.TextLength < 1 || entry.TextLength > MaxTextLength || entry.PicLength < 1) {
        return std::nullopt;
    }
    const std::int64_t origin = mDataStart - HeaderSize;
    RecoveredRecord record;
    record.textOffset = origin + entry.TextOffset;
    record.pictureOffset = origin + entry.PicOffset;
    record.pictureLength = entry.PicLength;
    if (record.textOffset < mDataStart || record.pictureOffset < mDataStart ||
        record.pictureOffset >= mFileSize) {
        return std::nullopt;
    }
    record.text = bytesAt(mFile, record.textOffset, entry.TextLength);
    if (record.text.size() != entry.TextLength || !isStoredText(record.text) ||
        !takePicture(record)) {
        return std::nullopt;
    }
    return record;
}

// Whether the entry is sound but for its text, whose bytes are no text's:
// the scan must not take what is left of that text for a whole one.
bool RecordFinder::hasSpoiltText(const IndexEntry& entry) const {
    if (entry.TextLength < 1 || entry.TextLength > MaxTextLength) {
        return false;
    }
    const std::int64_t textAt = mDataStart - HeaderSize + entry.TextOffset;
    const QByteArray text = bytesAt(mFile, textAt, entry.TextLength);
    return textAt >= mDataStart && text.size() == entry.TextLength && !isStoredText(text);
}

// Whether the record's picture rebuilds; one that the end of the file cuts
// short is rebuilt when wanted.
bool RecordFinder::takePicture(RecoveredRecord& record) const {
    if (record.pictureOffset + record.pictureLength <= mFileSize) {
        return storedPictureDecodes(mFile, record.pictureOffset, record.pictureLength);
    }
    if (!mOptions.keepCutPictures) {
        return false;
    }
    record.rebuiltPicture = rebuiltCutPicture(mFile, record.pictureOffset);
    record.pictureLength = static_cast<std::int32_t>(mFileSize - record.pictureOffset);
    return !record.rebuiltPicture.isEmpty();
}

// Entries that lie give records that share bytes: the first in the file
// is kept, once.
void RecordFinder::keepApartRecords() {
    std::stable_sort(mFound.begin(), mFound.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return a.start() < b.start();
    });
    std::vector<FoundRecord> apart;
    for (FoundRecord& found : mFound) {
        if (apart.empty() || found.start() >= apart.back().end()) {
            apart.push_back(std::move(found));
        }
    }
    mFound = std::move(apart);
}

// Looks for records in every part of the file that no record of the index
// holds, the index table included, since its count may lie.
void RecordFinder::scanGaps() {
    std::int64_t from = mHeaderSound ? HeaderSize : 0;
    // Where the header's count says the data start: the first text, when
    // the count is right, however little of the index is left.
    std::optional<std::int64_t> previousEnd;
    if (mHeaderSound) {
        previousEnd = mDataStart;
    }
    std::int64_t ordinal = -1;
    for (const FoundRecord& found : mFound) {
        scanGap(from, found.start(), previousEnd, ordinal);
        from = found.end();
        previousEnd = from;
        ordinal = found.ordinal;
    }
    scanGap(from, mFileSize, previousEnd, ordinal);
}

void RecordFinder::scanGap(std::int64_t from, std::int64_t to,
                           std::optional<std::int64_t> previousEnd, std::int64_t ordinal) {
    std::int64_t at = from;
    while (std::optional<std::int64_t> candidate = mCursor.next(at, to)) {
        std::optional<FoundRecord> found = recordAt(*candidate, from, to, previousEnd, ordinal);
        if (!found) {
            at = *candidate + 1;
            continue;
        }
        at = found->end();
        previousEnd = at;
        ordinal = found->ordinal;
        mScanned.push_back(std::move(*found));
    }
}

std::optional<FoundRecord> RecordFinder::recordAt(std::int64_t at, std::int64_t gapStart,
                                                  std::int64_t gapEnd,
                                                  std::optional<std::int64_t> previousEnd,
                                                  std::int64_t ordinal) const {
    if (std::binary_search(mSpoiltTextPictures.begin(), mSpoiltTextPictures.end(), at)) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> length = storedPictureLength(at, gapEnd);
    if (!length || *length < 1 || *length > kLargestBase) {
        return std::nullopt;
    }
    // A picture may only run on past its gap at the end of the file.
    if (at + *length > gapEnd && gapEnd != mFileSize) {
        return std::nullopt;
    }
    const auto pictureLength = static_cast<std::int32_t>(*length);
    std::optional<TextFound> text = textBefore(at, pictureLength, gapStart, previousEnd, ordinal);
    if (!text) {
        return std::nullopt;
    }
    FoundRecord found;
    found.record.source = RecoveredRecord::Source::Scan;
    found.record.textOffset = text->offset;
    found.record.text = std::move(text->bytes);
    found.record.pictureOffset = at;
    found.record.pictureLength = pictureLength;
    found.ordinal = text->ordinal;
    if (!takePicture(found.record)) {
        return std::nullopt;
    }
    return found;
}

// The length of the stored picture that would start at `at`, from its
// headers or, for run-length pixels, from its codes.
std::optional<std::int64_t> RecordFinder::storedPictureLength(std::int64_t at,
                                                              std::int64_t gapEnd) const {
    const QByteArray head =
        rebuiltBitmap(bytesAt(mFile, at, std::min(kStoredHeadLength, mFileSize - at)));
    std::optional<std::int64_t> length = bitmapFileLength(head);
    if (!length && bitmapHeaderIsPlausible(head, gapEnd - at + kPrefixLength)) {
        const std::int64_t most = std::min(gapEnd - at, kLastRunLengthWindow);
        for (std::int64_t window = kFirstRunLengthWindow; !length; window *= 2) {
            const std::int64_t read = std::min(window, most);
            length = bitmapFileLength(rebuiltBitmap(bytesAt(mFile, at, read)));
            if (read == most) {
                break;
            }
        }
    }
    if (!length) {
        return std::nullopt;
    }
    return *length - kPrefixLength;
}

// The text of a picture is the run of text bytes just before it. It starts
// where an entry of the index that still places the record says; else
// where the record before ends; else where the next entry's text length
// says, for a record after inserted bytes; else as far back as text bytes
// go. For the first record, the next entry comes before the place the
// header's count gives.
std::optional<TextFound> RecordFinder::textBefore(std::int64_t pictureAt,
                                                  std::int32_t pictureLength, std::int64_t gapStart,
                                                  std::optional<std::int64_t> previousEnd,
                                                  std::int64_t ordinal) const {
    const std::int64_t from = std::max(gapStart, pictureAt - MaxTextLength);
    const QByteArray before = bytesAt(mFile, from, pictureAt - from);
    const auto textOfLength = [&](std::int64_t length) -> std::optional<QByteArray> {
        if (length < 1 || length > before.size()) {
            return std::nullopt;
        }
        QByteArray text = before.right(static_cast<qsizetype>(length));
        return isStoredText(text) ? std::optional<QByteArray>(text) : std::nullopt;
    };
    const std::optional<Hint> hint = hintFor(pictureAt, pictureLength, previousEnd, ordinal);
    const auto hinted = [&]() -> std::optional<TextFound> {
        if (std::optional<QByteArray> text = textOfLength(hint->entry.TextLength)) {
            return TextFound{pictureAt - hint->entry.TextLength, std::move(*text), hint->ordinal};
        }
        return std::nullopt;
    };
    // Before the first record found, the end of the record before is only
    // where the header's count puts the data, and a count may lie: the text
    // length of the next entry is trusted first.
    if (hint && (hint->placed || ordinal < 0)) {
        if (std::optional<TextFound> found = hinted()) {
            return found;
        }
    }
    if (previousEnd) {
        if (std::optional<QByteArray> text = textOfLength(pictureAt - *previousEnd)) {
            return TextFound{*previousEnd, std::move(*text), ordinal + 1};
        }
    }
    if (hint) {
        if (std::optional<TextFound> found = hinted()) {
            return found;
        }
    }
    qsizetype run = 0;
    while (run < before.size() && isStoredTextByte(before.at(before.size() - 1 - run))) {
        ++run;
    }
    if (run == 0) {
        return std::nullopt;
    }
    return TextFound{pictureAt - run, before.right(run), ordinal + 1};
}

// An entry of the index, a little past the one of the record before, for
// a picture of this length: best one that puts the record exactly where
// it is, counted from the record before; else the very next entry, as
// when bytes were inserted before the record.
std::optional<RecordFinder::Hint> RecordFinder::hintFor(std::int64_t pictureAt,
                                                        std::int32_t pictureLength,
                                                        std::optional<std::int64_t> previousEnd,
                                                        std::int64_t ordinal) const {
    std::optional<std::int64_t> previousStoredEnd;
    if (ordinal < 0) {
        previousStoredEnd = FirstTextOffset;
    } else if (std::optional<IndexEntry> previous = entryAt(ordinal)) {
        previousStoredEnd = std::int64_t{previous->PicOffset} + previous->PicLength;
    }
    std::optional<Hint> next;
    for (std::int64_t i = ordinal + 1; i <= ordinal + kHintReach; ++i) {
        const std::optional<IndexEntry> entry = entryAt(i);
        if (!entry) {
            break;
        }
        if (entry->PicLength != pictureLength || entry->TextLength < 1 ||
            entry->TextLength > MaxTextLength) {
            continue;
        }
        if (previousEnd && previousStoredEnd &&
            *previousEnd + (entry->PicOffset - *previousStoredEnd) == pictureAt) {
            return Hint{*entry, i, true};
        }
        if (i == ordinal + 1) {
            next = Hint{*entry, i, false};
        }
    }
    return next;
}

std::optional<IndexEntry> RecordFinder::entryAt(std::int64_t ordinal) const {
    if (ordinal < 0 || ordinal >= mReadableEntries) {
        return std::nullopt;
    }
    try {
        return readIndexEntry(mFile, mReadableEntries, static_cast<std::int32_t>(ordinal));
    } catch (const RunFailure&) {
        return std::nullopt;
    }
}

RecoveryReport RecordFinder::report() {
    mFound.insert(mFound.end(), std::make_move_iterator(mScanned.begin()),
                  std::make_move_iterator(mScanned.end()));
    std::stable_sort(mFound.begin(), mFound.end(), [](const FoundRecord& a, const FoundRecord& b) {
        return a.start() < b.start();
    });
    RecoveryReport report;
    std::int64_t newSize = HeaderSize;
    std::int64_t claimed = mHeaderSound ? HeaderSize : 0;
    std::int32_t fromIndex = 0;
    for (FoundRecord& found : mFound) {
        RecoveredRecord& record = found.record;
        newSize += IndexEntrySize + record.text.size() + record.newPictureLength();
        // A base holds at most 2 GiB: what would go past is left out.
        if (newSize > kLargestBase) {
            break;
        }
        claimed += record.text.size() + record.pictureLength;
        if (record.source == RecoveredRecord::Source::Index) {
            claimed += IndexEntrySize;
            ++fromIndex;
        }
        report.records.push_back(std::move(record));
    }
    report.unreadableIndexRecords = mCountedRecords - fromIndex;
    report.unclaimedBytes = std::max<std::int64_t>(0, mFileSize - claimed);
    return report;
}

}  // namespace

std::int64_t RecoveredRecord::newPictureLength() const {
    return rebuiltPicture.isEmpty() ? pictureLength : rebuiltPicture.size();
}

RecoveryReport findRecoverableRecords(const BinaryFile& damaged, RecoveryOptions options) {
    return RecordFinder(damaged, options).run();
}

std::int64_t recoveredBaseSize(const RecoveryReport& report) {
    std::int64_t size = HeaderSize;
    for (const RecoveredRecord& record : report.records) {
        size += IndexEntrySize + record.text.size() + record.newPictureLength();
    }
    return size;
}

void writeRecoveredBase(const BinaryFile& damaged, const RecoveryReport& report, BinaryFile& target,
                        const CopyProgress& progress) {
    const auto tell = [&](std::int64_t written) {
        if (progress) {
            progress(written);
        }
    };
    const auto header = encodeHeader(static_cast<std::int32_t>(report.records.size()));
    target.write(header.data(), header.size());
    tell(HeaderSize);
    QByteArray index;
    const auto writeIndex = [&] {
        target.write(index.constData(), static_cast<std::size_t>(index.size()));
        tell(index.size());
        index.clear();
    };
    std::int64_t offset = FirstTextOffset;
    for (const RecoveredRecord& record : report.records) {
        IndexEntry entry;
        entry.TextOffset = static_cast<std::int32_t>(offset);
        entry.TextLength = static_cast<std::int32_t>(record.text.size());
        entry.PicOffset = entry.TextOffset + entry.TextLength;
        entry.PicLength = static_cast<std::int32_t>(record.newPictureLength());
        const EntryBytes bytes = encodeEntry(entry);
        index.append(bytes.data(), IndexEntrySize);
        if (index.size() >= kIndexWriteLength) {
            writeIndex();
        }
        offset = std::int64_t{entry.PicOffset} + entry.PicLength;
    }
    writeIndex();
    for (const RecoveredRecord& record : report.records) {
        target.write(record.text.constData(), static_cast<std::size_t>(record.text.size()));
        tell(record.text.size());
        if (record.rebuiltPicture.isEmpty()) {
            target.appendFrom(damaged, record.pictureOffset, record.pictureLength, progress);
        } else {
            target.write(record.rebuiltPicture.constData(),
                         static_cast<std::size_t>(record.rebuiltPicture.size()));
            tell(record.rebuiltPicture.size());
        }
    }
}

}  // namespace pictarium
