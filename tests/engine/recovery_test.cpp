#include "engine/base_recovery.h"

#include "base/binary_file.h"
#include "engine/base_verifier.h"
#include "imaging/core/bitmap_codec.h"
#include "tests/engine/engine_fixture.h"
#include "tests/stored_base.h"

#include <QRandomGenerator>

namespace pictarium::test {

// Records compare by their bytes; a failure prints the texts.
bool operator==(const StoredRecord& a, const StoredRecord& b) {
    return a.text == b.text && a.picture == b.picture;
}
void PrintTo(const StoredRecord& record, std::ostream* out) {
    *out << record.text.toHex().toStdString() << " (" << record.picture.size() << " bytes)";
}

namespace {

using Source = RecoveredRecord::Source;

const QList<QColor> kColours = {Qt::red,  Qt::green,   Qt::blue,     Qt::yellow,
                                Qt::cyan, Qt::magenta, Qt::darkGreen};

// Records of different lengths, so that a length in the wrong place shows.
QList<StoredRecord> sampleRecords(int count = 6) {
    QList<StoredRecord> records;
    for (int i = 0; i < count; ++i) {
        records.append({storedText("picture " + QByteArray::number(i)),
                        storedPicture(kColours[i % kColours.size()], 2 + i % 7, 3 + i % 5)});
    }
    return records;
}

// Where record `index` of a well-formed base of `records` starts.
qsizetype recordStart(const QList<StoredRecord>& records, qsizetype index) {
    qsizetype at = 8 + 16 * records.size();
    for (qsizetype i = 0; i < index; ++i) {
        at += records[i].text.size() + records[i].picture.size();
    }
    return at;
}

QList<StoredRecord> recordsOfSoundBase(const QByteArray& base) {
    QList<StoredRecord> records;
    const std::int32_t count = int32At(base, 4);
    const qsizetype origin = 16 * count;
    for (std::int32_t i = 0; i < count; ++i) {
        const qsizetype entry = 8 + 16 * i;
        records.append({base.mid(origin + int32At(base, entry + 8), int32At(base, entry + 12)),
                        base.mid(origin + int32At(base, entry), int32At(base, entry + 4))});
    }
    return records;
}

class Recovery : public EngineTest {
protected:
    // Recovers `damaged` into a new base, which must be sound, and gives
    // back what that base holds.
    QList<StoredRecord> recover(const QByteArray& damaged, RecoveryOptions options = {}) {
        const QString damagedPath = basePath(QStringLiteral("damaged.bdp"));
        const QString newPath = basePath(QStringLiteral("new.bdp"));
        writeAll(damagedPath, damaged);
        const BinaryFile file = BinaryFile::openForReading(damagedPath);
        mReport = findRecoverableRecords(file, options);
        {
            BinaryFile target = BinaryFile::create(newPath);
            writeRecoveredBase(file, mReport, target);
        }
        const BinaryFile written = BinaryFile::openForReading(newPath);
        EXPECT_EQ(written.size(), recoveredBaseSize(mReport));
        const QList<BaseProblem> problems = BaseVerifier(written).verify();
        EXPECT_TRUE(problems.isEmpty()) << problems.front().toText().toStdString();
        EXPECT_EQ(readAll(damagedPath), damaged);
        return recordsOfSoundBase(readAll(newPath));
    }

    [[nodiscard]] std::vector<Source> sources() const {
        std::vector<Source> found;
        for (const RecoveredRecord& record : mReport.records) {
            found.push_back(record.source);
        }
        return found;
    }

    RecoveryReport mReport;
};

TEST_F(Recovery, ASoundBaseComesBackByteForByteThroughItsIndex) {
    const QByteArray base = wellFormedBase(sampleRecords());
    EXPECT_EQ(recover(base).size(), 6);
    EXPECT_EQ(readAll(basePath(QStringLiteral("new.bdp"))), base);
    EXPECT_EQ(sources(), std::vector<Source>(6, Source::Index));
    EXPECT_EQ(mReport.unreadableIndexRecords, 0);
    EXPECT_EQ(mReport.unclaimedBytes, 0);
    EXPECT_EQ(mReport.records[2].textOffset, recordStart(sampleRecords(), 2));
}

TEST_F(Recovery, ATruncatedBaseKeepsEveryRecordBeforeTheCut) {
    const QList<StoredRecord> records = sampleRecords();
    const QByteArray base = wellFormedBase(records);
    const qsizetype third = recordStart(records, 3);
    const qsizetype thirdPicture = third + records[3].text.size();
    struct Cut {
        const char* where;
        qsizetype length;
        qsizetype kept;
    };
    for (const Cut& cut : {Cut{"in the index", 8 + 16 * 3, 0}, Cut{"in a text", third + 3, 3},
                           Cut{"in a picture's header", thirdPicture + 20, 3},
                           Cut{"in a picture's rows", thirdPicture + 60, 3},
                           Cut{"after a record", recordStart(records, 4), 4}}) {
        const QList<StoredRecord> kept = recover(base.left(cut.length));
        EXPECT_EQ(kept, records.mid(0, cut.kept)) << cut.where;
        EXPECT_EQ(mReport.unreadableIndexRecords, 6 - cut.kept) << cut.where;
    }
}

TEST_F(Recovery, WithCutPicturesKeptTheLastOneKeepsItsRowsAndTurnsTheRestWhite) {
    const QList<StoredRecord> records = sampleRecords();
    const QByteArray base = wellFormedBase(records);
    // Record 5 is 7 x 3 at 24 bits: 54 header bytes, then rows of 24 bytes.
    const qsizetype picture = recordStart(records, 5) + records[5].text.size();
    const QList<StoredRecord> kept = recover(base.left(picture + 51 + 24 + 10), {true});
    ASSERT_EQ(kept.size(), 6);
    EXPECT_EQ(kept.mid(0, 5), records.mid(0, 5));
    const QImage rebuilt = pictureFromBitmapFile("BM." + kept[5].picture);
    ASSERT_EQ(rebuilt.size(), QSize(7, 3));
    EXPECT_EQ(rebuilt.pixel(3, 2), QColor(Qt::magenta).rgb());
    EXPECT_EQ(rebuilt.pixel(3, 0), qRgb(255, 255, 255));
    // Without the option, the cut record is left out.
    EXPECT_EQ(recover(base.left(picture + 51 + 24 + 10)).size(), 5);
}

TEST_F(Recovery, AnIndexThatIsZeroedOrLiesIsReplacedByAScanOfTheData) {
    const QList<StoredRecord> records = sampleRecords();
    const QByteArray base = wellFormedBase(records);
    QByteArray zeroed = base;
    zeroed.replace(8, 16 * 6, QByteArray(16 * 6, '\0'));
    QByteArray overwritten = base;
    overwritten.replace(8, 16 * 6, QByteArray(16 * 6, '\x5A'));
    QByteArray tooLarge = base;
    setInt32(tooLarge, 4, 9);
    QByteArray tooSmall = base;
    setInt32(tooSmall, 4, 2);
    QByteArray huge = base;
    setInt32(huge, 4, 0x7FFFFFFF);
    for (const QByteArray& damaged : {zeroed, overwritten, tooLarge, tooSmall, huge}) {
        const QList<StoredRecord> kept = recover(damaged);
        EXPECT_EQ(kept, records);
        EXPECT_EQ(mReport.records[0].source, Source::Scan);
    }
    EXPECT_EQ(mReport.unreadableIndexRecords, 0x7FFFFFFF);
}

TEST_F(Recovery, ARecordWhoseBytesAreSpoiltIsLeftOutAndOnlyIt) {
    const QList<StoredRecord> records = sampleRecords();
    QByteArray spoilt = wellFormedBase(records);
    const qsizetype secondPicture = recordStart(records, 2) + records[2].text.size();
    spoilt.replace(secondPicture, 20, QByteArray(20, '\xEE'));
    spoilt.replace(recordStart(records, 4), 2, QByteArray(2, '\0'));
    QList<StoredRecord> intact = records;
    intact.removeAt(4);
    intact.removeAt(2);
    QList<StoredRecord> kept = recover(spoilt);
    EXPECT_EQ(kept, intact);
    // With no index left to give the length of the spoilt text, what is
    // left of it is all there is to tell, and the picture is kept with it.
    QByteArray alsoNoIndex = spoilt;
    alsoNoIndex.replace(8, 16 * 6, QByteArray(16 * 6, '\0'));
    kept = recover(alsoNoIndex);
    ASSERT_EQ(kept.size(), 5);
    EXPECT_EQ(kept[3].text, records[4].text.mid(2));
    EXPECT_EQ(kept[3].picture, records[4].picture);
}

TEST_F(Recovery, GarbageInsertedBeforeARecordIsStepped) {
    const QList<StoredRecord> records = sampleRecords();
    QByteArray garbage(300, Qt::Uninitialized);
    QRandomGenerator random(17);
    for (char& byte : garbage) {
        byte = static_cast<char>(random.bounded(256));
    }
    QByteArray damaged = wellFormedBase(records);
    damaged.insert(recordStart(records, 3), garbage);
    const QList<StoredRecord> kept = recover(damaged);
    EXPECT_EQ(kept, records);
    EXPECT_EQ(sources(), (std::vector<Source>{Source::Index, Source::Index, Source::Index,
                                              Source::Scan, Source::Scan, Source::Scan}));
    EXPECT_EQ(mReport.unreadableIndexRecords, 3);
    EXPECT_EQ(mReport.unclaimedBytes, 300 + 3 * 16);
}

// Texts that hold what a picture's header would hold there stay texts. A
// picture of 0x28xx bytes stores 28 00 00 00 first: just after its text,
// that reads as the header size of a picture starting in the text. A count
// raised by one or two entries puts the data 16 or 32 bytes into the first
// text: that text is found whole, not cut where the count says.
TEST_F(Recovery, ATextThatLooksLikeAPictureStaysWhole) {
    const QByteArray header("\x01\x01\x01\x01\x36\x01\x01\x01\x28\x01\x01\x01\x0C", 13);
    QList<StoredRecord> records = sampleRecords(3);
    records[1].picture = storedPicture(Qt::blue, 58, 58);
    ASSERT_EQ(static_cast<unsigned char>(records[1].picture[0]), 0x28);
    records[1].text = header;
    QByteArray noIndex = wellFormedBase(records);
    noIndex.replace(8, 16 * 3, QByteArray(16 * 3, '\0'));
    EXPECT_EQ(recover(noIndex), records);

    records = sampleRecords(4);
    for (StoredRecord& record : records) {
        record.text = header.repeated(3);
    }
    for (const int raised : {1, 2}) {
        QByteArray damaged = wellFormedBase(records);
        setInt32(damaged, 4, 4 + raised);
        EXPECT_EQ(recover(damaged), records) << raised;
    }
}

// Three records spoilt in a row leave the entry of the next one four
// places past the last record kept: it still gives the length of that
// record's text, which the bytes before it would make longer.
TEST_F(Recovery, AScannedRecordTakesItsTextFromAnEntryUpToFourPlacesOn) {
    const QList<StoredRecord> records = sampleRecords();
    QByteArray damaged = wellFormedBase(records);
    setInt32(damaged, 4, 7);  // every record is found by the scan
    for (int i = 1; i <= 3; ++i) {
        damaged.replace(recordStart(records, i) + records[i].text.size(), 20, QByteArray(20, '\0'));
    }
    damaged.replace(recordStart(records, 4) - 20, 20, QByteArray(20, '\xEE'));
    EXPECT_EQ(recover(damaged), (QList<StoredRecord>{records[0], records[4], records[5]}));
}

TEST_F(Recovery, TenThousandRecordsCutInTheMiddleKeepTheFirstHalf) {
    const QList<StoredRecord> records = sampleRecords(10000);
    const QByteArray base = wellFormedBase(records);
    const QByteArray cut = base.left(base.size() / 2);
    qsizetype whole = 0;
    while (recordStart(records, whole + 1) <= cut.size()) {
        ++whole;
    }
    ASSERT_GT(whole, 4000);
    QByteArray cutWithoutIndex = cut;
    cutWithoutIndex.replace(8, 16 * 10000, QByteArray(16 * 10000, '\0'));
    for (const QByteArray& damaged : {cut, cutWithoutIndex}) {
        const QList<StoredRecord> kept = recover(damaged);
        EXPECT_EQ(kept.size(), whole);
        EXPECT_EQ(kept, records.mid(0, whole));
    }
}

TEST_F(Recovery, NothingReadableGivesNoRecords) {
    for (const QByteArray& damaged : {QByteArray(), QByteArray("\x24\x14\x71\x06", 4),
                                      QByteArray(5000, '\0'), QByteArray(5000, '\x28')}) {
        writeAll(basePath(), damaged);
        const BinaryFile file = BinaryFile::openForReading(basePath());
        EXPECT_TRUE(findRecoverableRecords(file, {true}).records.empty());
    }
}

}  // namespace
}  // namespace pictarium::test
