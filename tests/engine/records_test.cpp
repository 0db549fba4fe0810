#include "tests/engine/engine_fixture.h"

#include <QFile>

namespace pictarium::test {
namespace {

using Records = EngineTest;

QByteArray header(std::int32_t count) {
    return QByteArray("\x24\x14\x71\x06", 4) + le32(count);
}

QByteArray entry(std::int32_t picOffset, std::int32_t picLength, std::int32_t textOffset,
                 std::int32_t textLength) {
    return le32(picOffset) + le32(picLength) + le32(textOffset) + le32(textLength);
}

TEST_F(Records, AddsAndDeletesLayTheFileOutByteForByte) {
    const QString path = openBaseWith(0);
    const QImage first = picture(1);
    const QImage second = picture(2, 7, 2);
    const QByteArray p = storedBytes(first);
    const QByteArray q = storedBytes(second);
    ASSERT_FALSE(p.isEmpty());

    ASSERT_TRUE(mBase.AddBDP(first, QStringLiteral("abc")));
    const std::int32_t P = static_cast<std::int32_t>(p.size());
    const std::int32_t Q = static_cast<std::int32_t>(q.size());
    EXPECT_EQ(readAll(path), header(1) + entry(11, P, 8, 3) + "\xE0\xE1\xE2" + p);

    ASSERT_TRUE(mBase.AddBDP(second, QStringLiteral("de")));
    EXPECT_EQ(readAll(path), header(2) + entry(11, P, 8, 3) + entry(13 + P, Q, 11 + P, 2) +
                                 "\xE0\xE1\xE2" + p + "\xE3\xE4" + q);

    ASSERT_TRUE(mBase.MoveFirst());
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(readAll(path), header(1) + entry(10, Q, 8, 2) + "\xE3\xE4" + q);
    EXPECT_EQ(mHost.lastText, QStringLiteral("de"));
    EXPECT_EQ(mHost.lastPicture, second);

    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(readAll(path), header(0));
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

TEST_F(Records, AddChecksComeInOrderAndTouchNothing) {
    const QString tooLong(300, QLatin1Char('a'));
    EXPECT_FALSE(mBase.AddBDP(picture(0), QStringLiteral("text")));
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Ouvrez d'abord une base de données !"));

    const QString path = openBaseWith(1);
    const QByteArray before = readAll(path);
    const std::vector<std::pair<QString, bool>> refusals = {
        {tooLong, false}, {QStringLiteral("   "), true}, {QStringLiteral("ok"), false}};
    const QStringList expected = {QStringLiteral("Le texte ne doit pas dépasser 255 caractères !"),
                                  QStringLiteral("Indiquez un texte svp !"),
                                  QStringLiteral("Ajouter d'abord une image !")};
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        const QImage chosen = refusals[i].second ? picture(0) : QImage();
        EXPECT_FALSE(mBase.AddBDP(chosen, refusals[i].first));
        EXPECT_EQ(mHost.messages.back().text, expected[static_cast<qsizetype>(i)]);
    }
    EXPECT_EQ(mHost.take().size(), 3U);  // the boxes only: no event
    EXPECT_EQ(readAll(path), before);

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

TEST_F(Records, OneRefusedRecordOfManyAddsNothingAndSaysWhich) {
    const QString path = openBaseWith(1);
    const QByteArray before = readAll(path);
    const std::vector<std::pair<NewRecord, QString>> refusals = {
        {{picture(1), QStringLiteral("   ")}, QStringLiteral("Indiquez un texte svp !")},
        {{QImage(), QStringLiteral("vide")}, QStringLiteral("Ajouter d'abord une image !")},
        {{picture(1), QString(256, QLatin1Char('a'))},
         QStringLiteral("Le texte ne doit pas dépasser 255 caractères !")}};
    for (const auto& [refusal, message] : refusals) {
        qsizetype refused = -1;
        EXPECT_FALSE(mBase.AddRecordsBDP(
            {{picture(2), QStringLiteral("bon")}, refusal, {picture(3), QStringLiteral("bon")}},
            &refused));
        EXPECT_EQ(refused, 1);
        EXPECT_EQ(mHost.messages.back().text, message);
        EXPECT_EQ(readAll(path), before);
    }
    EXPECT_FALSE(mBase.AddRecordsBDP({}));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(mBase.recordCount(), 1);
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
    // Data areas just below, at and above one and two blocks, and an index
    // table longer than a block.
    const QString path = openBaseWith(0);
    const QImage big = picture(9, 150, 144);  // 64,800 bytes of pixels
    ASSERT_TRUE(mBase.AddBDP(big, QStringLiteral("big one")));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(mBase.AddBDP(picture(i, 150, 144), QStringLiteral("big %1").arg(i)));
    }
    const QByteArray stored = storedBytes(big);
    const std::int32_t each = static_cast<std::int32_t>(stored.size());
    const QByteArray file = readAll(path);
    ASSERT_EQ(file.size(), 8 + 4 * 16 + 7 + 5 * 3 + 4 * each);
    EXPECT_EQ(file.mid(8 + 4 * 16 + 7, each), stored);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(mBase.MoveTo(i));
        EXPECT_EQ(mHost.lastPicture.size(), QSize(150, 144));
    }
    ASSERT_TRUE(mBase.MoveTo(1));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.lastText, QStringLiteral("big 1"));
    EXPECT_EQ(readAll(path).size(), file.size() - 16 - 5 - each);
}

TEST_F(Records, ManyRecordsMakeAnIndexLongerThanOneBlock) {
    // 4,100 records: the index table alone is 65,600 bytes.
    const int count = 4100;
    const QByteArray stored = storedBytes(picture(1, 1, 1));
    const auto length = static_cast<std::int32_t>(stored.size());
    QByteArray index;
    QByteArray data;
    for (int i = 0; i < count; ++i) {
        QByteArray text = QStringLiteral("r%1").arg(i, 4, 10, QLatin1Char('0')).toLatin1();
        FlipBytes(text);
        const std::int32_t at = 8 + static_cast<std::int32_t>(data.size());
        index += entry(at + 5, length, at, 5);
        data += text + stored;
    }
    const QString path = basePath();
    writeAll(path, header(count) + index + data);
    ASSERT_TRUE(mBase.OpenBDP(path));
    ASSERT_TRUE(mBase.MoveTo(4097));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.lastText, QStringLiteral("r4098"));
    ASSERT_TRUE(mBase.MoveEnd());
    EXPECT_EQ(mHost.lastText, QStringLiteral("r4099"));
    const QByteArray after = readAll(path);
    EXPECT_EQ(after.size(), 8 + (count - 1) * (16 + 5 + length));
    EXPECT_EQ(after.right(5 + length).left(5), QByteArray("\xF1\xB3\xAF\xB8\xB8"));
    EXPECT_EQ(mBase.currentEntry(),
              (IndexEntry{8 + 4098 * (5 + length) + 5, length, 8 + 4098 * (5 + length), 5}));
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

TEST_F(Records, MovesInAnEmptyBaseShowNothing) {
    openBaseWith(0);
    EXPECT_FALSE(mBase.MoveEnd());
    EXPECT_FALSE(mBase.MoveFirst());
    EXPECT_FALSE(mBase.MoveLast());
    EXPECT_TRUE(mHost.take().empty());
    EXPECT_FALSE(mBase.MoveNext());
    EXPECT_EQ(mHost.take().size(), 9U);
    EXPECT_TRUE(mHost.messages.empty());
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
    QByteArray bytes = readAll(path);
    bytes[8 + 2 * 16 + 8 + 11] = '\x7F';
    bytes[8 + 2 * 16 + 8 + 12] = '\x7F';
    writeAll(path, bytes);
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
    const QByteArray afterAdd = readAll(path);
    EXPECT_FALSE(afterAdd.contains(QByteArray(100, 'x')));
    EXPECT_FALSE(tempFilesLeft());
    writeAll(mProgramFolder.filePath(QStringLiteral("bdptmp1.tmp")), QByteArray(5000, 'x'));
    ASSERT_TRUE(mBase.DeleteBDP());
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
