#include "tests/engine/engine_fixture.h"
#include "tests/stored_base.h"

#include <QFile>

namespace pictarium::test {
namespace {

using Records = EngineTest;

TEST_F(Records, AddsAndDeletesLayTheFileOutByteForByte) {
    const QString path = openBaseWith(0);
    const QImage first = picture(1);
    const QImage second = picture(2, 7, 2);
    const StoredRecord abc{storedText("abc"), storedBytes(first)};
    const StoredRecord de{storedText("de"), storedBytes(second)};
    ASSERT_TRUE(mBase.AddBDP(first, QStringLiteral("abc")));
    EXPECT_EQ(readAll(path), wellFormedBase({abc}));
    ASSERT_TRUE(mBase.AddBDP(second, QStringLiteral("de")));
    EXPECT_EQ(readAll(path), wellFormedBase({abc, de}));

    ASSERT_TRUE(mBase.MoveFirst());
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(readAll(path), wellFormedBase({de}));
    EXPECT_EQ(mHost.lastText, QStringLiteral("de"));
    EXPECT_EQ(mHost.lastPicture, second);
    EXPECT_FALSE(tempFilesLeft());
}

TEST_F(Records, TheRebuiltBitmapAlwaysStartsWithBMDot) {
    openBaseWith(1);
    EXPECT_TRUE(mBase.currentPictureFile().startsWith("BM."));
    EXPECT_EQ(mBase.currentPictureFile().size(), mBase.currentEntry().PicLength + 3);
}

TEST_F(Records, AddingToAnEmptyBaseShowsTheNewRecord) {
    openBaseWith(0);
    ASSERT_TRUE(mBase.AddBDP(picture(3), QStringLiteral("  spaced  ")));
    EXPECT_EQ(mHost.take(), (Log{"Content(  spaced  )", "Add(1)", "Next(0)", "Last(0)", "Search(0)",
                                 "Next(0)", "Last(0)", "Delete(1)"}));
    EXPECT_EQ(mBase.currentEntry().TextLength, 10);  // spaces are stored
    EXPECT_EQ(mBase.currentIndex(), 0);
    ASSERT_TRUE(mBase.AddBDP(picture(4), QStringLiteral("next")));
    EXPECT_EQ(mHost.take(), (Log{"Content(next)", "Add(1)", "Next(0)", "Last(1)", "Delete(1)"}));
    EXPECT_FALSE(tempFilesLeft());
}

// The text is checked before the picture; a refused record, alone or
// among others, changes nothing, and the refusal names which one.
TEST_F(Records, RefusedRecordsTouchNothing) {
    EXPECT_FALSE(mBase.AddBDP(picture(0), QStringLiteral("text")));
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Ouvrez d'abord une base de données !"));

    const QString path = openBaseWith(1);
    const QByteArray before = readAll(path);
    const std::vector<std::pair<NewRecord, QString>> refusals = {
        {{QImage(), QString(300, QLatin1Char('a'))},
         QStringLiteral("Le texte ne doit pas dépasser 255 caractères !")},
        {{picture(1), QString(256, QLatin1Char('a'))},
         QStringLiteral("Le texte ne doit pas dépasser 255 caractères !")},
        {{picture(1), QStringLiteral("   ")}, QStringLiteral("Indiquez un texte svp !")},
        {{QImage(), QStringLiteral("ok")}, QStringLiteral("Ajouter d'abord une image !")}};
    for (const auto& [refusal, message] : refusals) {
        SCOPED_TRACE(message.toStdString());
        EXPECT_FALSE(mBase.AddBDP(refusal.picture, refusal.text));
        EXPECT_EQ(mHost.messages.back().text, message);
        EXPECT_EQ(mHost.take().size(), 1U);  // the box only: no event
        qsizetype refused = -1;
        EXPECT_FALSE(mBase.AddRecordsBDP(
            {{picture(2), QStringLiteral("bon")}, refusal, {picture(3), QStringLiteral("bon")}},
            &refused));
        EXPECT_EQ(refused, 1);
        EXPECT_EQ(mHost.messages.back().text, message);
        EXPECT_EQ(mHost.take().size(), 1U);
        EXPECT_EQ(readAll(path), before);
    }
    EXPECT_FALSE(mBase.AddRecordsBDP({}));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(mBase.recordCount(), 1);
    EXPECT_TRUE(mBase.AddBDP(picture(0), QString(255, QLatin1Char('z'))));
}

TEST_F(Records, ManyRecordsInOneRewriteLayTheFileOutAsSingleAddsWould) {
    const QList<NewRecord> added = {{picture(5), QStringLiteral("un")},
                                    {picture(6, 9, 4), QStringLiteral("deux")},
                                    {picture(7, 2, 8), QStringLiteral("trois")}};
    for (const int count : {0, 2}) {
        const QString one = openBaseWith(count, QStringLiteral("one-by-one-%1.bdp").arg(count));
        for (const NewRecord& record : added) {
            ASSERT_TRUE(mBase.AddBDP(record.picture, record.text));
        }
        const QString all = openBaseWith(count, QStringLiteral("all-at-once-%1.bdp").arg(count));
        qsizetype refused = 7;
        ASSERT_TRUE(mBase.AddRecordsBDP(added, &refused));
        EXPECT_EQ(refused, -1);
        EXPECT_EQ(readAll(all), readAll(one)) << count << " records before";
        // The last new record is on show, as after an add.
        EXPECT_EQ(mBase.currentIndex(), count + 2);
        EXPECT_EQ(mHost.lastText, QStringLiteral("trois"));
        EXPECT_EQ(mHost.lastPicture, added.back().picture);
        EXPECT_FALSE(tempFilesLeft());
    }
}

// A pasted picture too large to be read back is not stored.
TEST_F(Records, APictureOverThePixelLimitIsRefusedSayingItsSize) {
    const QString path = openBaseWith(1);
    const QByteArray before = readAll(path);
    QImage huge(10240, 10241, QImage::Format_Mono);  // one bit a pixel: 13 MB
    huge.fill(0);
    EXPECT_FALSE(mBase.AddBDP(huge, QStringLiteral("trop grande")));
    EXPECT_EQ(mHost.messages.back().text,
              QStringLiteral("Erreur 481\r\nImage incorrecte : 10240 × 10241 pixels, au plus "
                             "104857600 (100 mégapixels)"));
    EXPECT_EQ(readAll(path), before);
}

TEST_F(Records, CopiesAcrossThe65000ByteBlockBoundary) {
    // Each record is just under a block: the data area ends near one, two,
    // three and four blocks.
    const QString path = openBaseWith(0);
    QList<StoredRecord> records;
    for (int i = 0; i < 4; ++i) {
        const QImage big = picture(i, 150, 144);  // 64,800 bytes of pixels
        ASSERT_TRUE(mBase.AddBDP(big, QStringLiteral("big %1").arg(i)));
        records.append({storedText("big " + QByteArray::number(i)), storedBytes(big)});
    }
    EXPECT_EQ(readAll(path), wellFormedBase(records));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(mBase.MoveTo(i));
        EXPECT_EQ(mHost.lastPicture, picture(i, 150, 144));
    }
    ASSERT_TRUE(mBase.MoveTo(1));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.lastText, QStringLiteral("big 2"));
    records.removeAt(1);
    EXPECT_EQ(readAll(path), wellFormedBase(records));
}

TEST_F(Records, ManyRecordsMakeAnIndexLongerThanOneBlock) {
    // 4,100 records: the index table alone is 65,600 bytes.
    const QByteArray stored = storedBytes(picture(1, 1, 1));
    QList<StoredRecord> records;
    for (int i = 0; i < 4100; ++i) {
        records.append({storedText("r" + QByteArray::number(i).rightJustified(4, '0')), stored});
    }
    const QString path = basePath();
    writeAll(path, wellFormedBase(records));
    ASSERT_TRUE(mBase.OpenBDP(path));
    ASSERT_TRUE(mBase.MoveTo(4097));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.lastText, QStringLiteral("r4098"));
    ASSERT_TRUE(mBase.MoveEnd());
    EXPECT_EQ(mHost.lastText, QStringLiteral("r4099"));
    records.removeAt(4097);
    EXPECT_EQ(readAll(path), wellFormedBase(records));
}

TEST_F(Records, MovesRefreshTheButtonsAndStopAtTheEnds) {
    openBaseWith(3);
    EXPECT_TRUE(mBase.MoveNext());
    EXPECT_EQ(mHost.take(),
              (Log{"Content(record 1)", "Add(1)", "Next(1)", "Last(1)", "Delete(1)"}));
    EXPECT_TRUE(mBase.MoveEnd());
    EXPECT_FALSE(mBase.MoveNext());
    EXPECT_EQ(mHost.take(), (Log{"Content(record 2)", "Add(1)", "Next(0)", "Last(1)", "Delete(1)",
                                 "Add(1)", "Next(0)", "Last(1)", "Delete(1)",
                                 "Box[info|Tessaline Pictarium] Dernier enregistrement !"}));
    EXPECT_TRUE(mBase.MoveFirst());
    EXPECT_FALSE(mBase.MoveLast());
    const Log log = mHost.take();
    EXPECT_EQ(log.back(), "Box[info|PICTARIUM] Premier enregistrement !");
    EXPECT_EQ(mBase.currentIndex(), 0);
    EXPECT_FALSE(mHost.mBusy);
}

TEST_F(Records, SelectingARecordOutsideTheBaseIsRefused) {
    openBaseWith(3);
    EXPECT_TRUE(mBase.SelectRecord(2));
    for (const std::int32_t index : {-1, 3}) {
        mHost.messages.clear();
        EXPECT_FALSE(mBase.SelectRecord(index));
        ASSERT_EQ(mHost.messages.size(), 1u);
        EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Index incorrect !"));
    }
}

TEST_F(Records, DeleteShowsTheRecordThatTookThePlace) {
    const QString path = openBaseWith(3);
    ASSERT_TRUE(mBase.MoveTo(1));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.lastText, QStringLiteral("record 2"));
    EXPECT_EQ(mBase.currentIndex(), 1);
    ASSERT_TRUE(mBase.DeleteBDP());  // the last one: the new last is shown
    EXPECT_EQ(mHost.lastText, QStringLiteral("record 0"));
    mHost.take();
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.take(), (Log{"Add(1)", "Next(0)", "Last(0)", "Search(0)", "Next(0)", "Last(0)",
                                 "Delete(0)", "Content(none,)", "Delete(0)"}));
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Il n'ya rien à supprimer !"));
    EXPECT_EQ(readAll(path).size(), 8);
}

TEST_F(Records, DeleteNeedsACurrentRecord) {
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Ouvrez d'abord une base de données !"));
    // Record 0's picture is damaged, so opening leaves no current record.
    const QString path = buildBase(2);
    const QByteArray bytes = spoilPicture(path, 0);
    ASSERT_TRUE(mBase.OpenBDP(path));
    ASSERT_EQ(mBase.currentIndex(), -1);
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Index incorrect !"));
    EXPECT_EQ(readAll(path), bytes);
}

TEST_F(Records, LeftOverTemporaryFilesNeverReachTheBase) {
    const QString path = openBaseWith(1);
    writeAll(mProgramFolder.filePath(QStringLiteral("bdptmp1.tmp")), QByteArray(5000, 'x'));
    writeAll(mProgramFolder.filePath(QStringLiteral("bdpsave.tmp")), QByteArray(5000, 'y'));
    ASSERT_TRUE(mBase.AddBDP(picture(5), QStringLiteral("five")));
    EXPECT_FALSE(readAll(path).contains(QByteArray(100, 'x')));
    EXPECT_FALSE(tempFilesLeft());
}

TEST_F(Records, TransparentPicturesAreStoredOnWhite) {
    openBaseWith(0);
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.setPixel(0, 0, qRgba(0, 0, 0, 0));
    clear.setPixel(1, 0, qRgba(255, 0, 0, 255));
    ASSERT_TRUE(mBase.AddBDP(clear, QStringLiteral("alpha")));
    EXPECT_EQ(mHost.lastPicture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(mHost.lastPicture.pixel(1, 0), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace pictarium::test
