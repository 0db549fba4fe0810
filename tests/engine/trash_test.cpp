// Deleted records go to the base's trash before the base changes, and come
// back from it byte for byte; a delete stopped halfway leaves each record
// in the base or in the trash, once.

#include "engine/base_trash.h"
#include "engine/engine_texts.h"
#include "tests/engine/engine_fixture.h"
#include "tests/file_size_limit.h"
#include "tests/stored_base.h"

#include <QDir>
#include <QFile>

namespace pictarium::test {
namespace {

class Trash : public EngineTest {
protected:
    const QList<StoredRecord> mFour = {{storedText("un"), storedPicture(Qt::red, 2, 2)},
                                       {storedText("deux"), storedPicture(Qt::green, 3, 2)},
                                       {storedText("trois"), storedPicture(Qt::blue, 2, 4)},
                                       {storedText("quatre"), storedPicture(Qt::yellow, 5, 1)}};

    QString openFour() {
        const QString path = basePath();
        writeAll(path, wellFormedBase(mFour));
        EXPECT_TRUE(mBase.OpenBDP(path));
        return path;
    }

    [[nodiscard]] QStringList trashTexts() {
        QStringList texts;
        for (const TrashedRecord& record : mBase.TrashBDP()) {
            texts.append(QString::fromLatin1(record.text.toHex()) + u'@' +
                         QString::number(record.formerIndex));
        }
        return texts;
    }

    static QString at(const StoredRecord& record, int index) {
        return QString::fromLatin1(record.text.toHex()) + u'@' + QString::number(index);
    }
};

TEST_F(Trash, deletedRecordsComeBackWhereTheyStoodByteForByte) {
    const QString path = openFour();
    ASSERT_TRUE(mBase.DeleteRecordsBDP({3, 1}));
    ASSERT_TRUE(mBase.DeleteBDP());  // "trois", on show at index 1 now
    EXPECT_EQ(readAll(path), wellFormedBase({mFour[0]}));
    EXPECT_EQ(trashTexts(), (QStringList{at(mFour[1], 1), at(mFour[3], 3), at(mFour[2], 1)}));

    // Two back: each where it stood, or at the end of a base now shorter.
    QList<TrashedRecord> trashed = mBase.TrashBDP();
    ASSERT_TRUE(mBase.RestoreBDP({trashed[0], trashed[1]}));
    EXPECT_EQ(readAll(path), wellFormedBase({mFour[0], mFour[1], mFour[3]}));
    EXPECT_EQ(mHost.lastText, QStringLiteral("deux"));
    EXPECT_EQ(trashTexts(), QStringList{at(mFour[2], 1)});
    ASSERT_TRUE(mBase.RestoreBDP(mBase.TrashBDP()));
    EXPECT_EQ(readAll(path), wellFormedBase({mFour[0], mFour[2], mFour[1], mFour[3]}));
    EXPECT_TRUE(mBase.TrashBDP().isEmpty());
    EXPECT_TRUE(mHost.messages.empty());
}

// A pending record is one whose delete stopped before, or after, the base
// was replaced: the base decides.
TEST_F(Trash, aPendingRecordIsKeptOnlyWhenTheBaseNoLongerHoldsIt) {
    const QString path = openFour();
    ASSERT_TRUE(mBase.DeleteRecordsBDP({0}));
    const QString kept = mBase.TrashBDP().front().file;
    ASSERT_TRUE(QFile::rename(kept, kept.chopped(7) + QStringLiteral(".pending")));
    BaseTrash trash(mHost.trashFolder(), path);
    {
        const BinaryFile base = BinaryFile::openForReading(path);
        // "deux" stands at index 0 of the base now: its bytes are still there.
        const std::int64_t pictureAt = 8 + 16 * 3 + mFour[1].text.size();
        (void)trash.addPending(0, mFour[1].text, base, pictureAt,
                               static_cast<std::int32_t>(mFour[1].picture.size()));
    }
    EXPECT_EQ(trashTexts(), QStringList{at(mFour[0], 0)});
    EXPECT_EQ(QDir(QFileInfo(kept).path()).entryList(QDir::Files).size(), 1);
}

TEST_F(Trash, aFullTrashLetsItsOldestRecordsGoSayingSo) {
    openFour();
    mHost.trashBytes = 250;  // two of these small records, with their headers
    ASSERT_TRUE(mBase.DeleteRecordsBDP({0}));
    ASSERT_TRUE(mBase.DeleteRecordsBDP({0, 1}));
    EXPECT_EQ(trashTexts(), (QStringList{at(mFour[1], 0), at(mFour[2], 1)}));
    ASSERT_EQ(mHost.messages.size(), std::size_t{1});
    EXPECT_EQ(mHost.messages.front().text, EngineText::trashOverflow(1));
}

TEST_F(Trash, aDiskTooFullForTheTrashDeletesNothing) {
    const QString path = openFour();
    {
        const FileSizeLimit fullDisk(40);
        EXPECT_FALSE(mBase.DeleteRecordsBDP({1, 2}));
    }
    EXPECT_EQ(readAll(path), wellFormedBase(mFour));
    EXPECT_TRUE(mBase.TrashBDP().isEmpty());
    ASSERT_FALSE(mHost.messages.empty());
    EXPECT_TRUE(mHost.messages.front().text.startsWith(QStringLiteral("Erreur 61")));
}

}  // namespace
}  // namespace pictarium::test
