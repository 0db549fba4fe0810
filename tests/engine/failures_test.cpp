#include "tests/engine/engine_fixture.h"
#include "tests/file_size_limit.h"

#include <QFile>
#include <QFileInfo>

namespace pictarium::test {
namespace {

using Failures = EngineTest;

TEST_F(Failures, AVanishedBaseIsReportedAndStaysOpen) {
    const QString path = openBaseWith(2);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(mBase.MoveNext());
    EXPECT_FALSE(mBase.AddBDP(picture(1), QStringLiteral("x")));
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("x")));
    EXPECT_FALSE(mBase.GetInfosBDP());
    EXPECT_EQ(mHost.messages.size(), 5U);
    for (const Message& message : mHost.messages) {
        EXPECT_EQ(message.text, QStringLiteral("Base de données introuvable !"));
    }
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_EQ(mHost.take().size(), 5U);  // boxes only, no event
}

// A disk that fills up while the base is backed up leaves it untouched;
// one that fills up while it is rebuilt puts the old base back, reopened.
TEST_F(Failures, AFullDiskKeepsTheOldBase) {
    const QString path = openBaseWith(2);
    const QByteArray before = readAll(path);
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() / 2));
        EXPECT_FALSE(mBase.AddBDP(picture(7), QStringLiteral("never")));
        EXPECT_FALSE(mBase.DeleteBDP());
    }
    EXPECT_EQ(readAll(path), before);
    EXPECT_FALSE(tempFilesLeft());
    EXPECT_EQ(mBase.recordCount(), 2);
    ASSERT_TRUE(mBase.MoveNext());
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() + 10));
        EXPECT_FALSE(mBase.AddBDP(picture(7, 40, 40), QStringLiteral("too big")));
    }
    ASSERT_GE(mHost.messages.size(), 3U);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(mHost.messages[i].text, QStringLiteral("Erreur 61\r\nDisque plein"));
    }
    EXPECT_EQ(readAll(path), before);
    EXPECT_FALSE(tempFilesLeft());
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_EQ(mBase.currentIndex(), 0);  // reopened on record 0
    EXPECT_EQ(mHost.lastText, QStringLiteral("record 0"));
    EXPECT_FALSE(mHost.mBusy);
}

TEST_F(Failures, AProgramFolderThatCannotBeWrittenChangesNothing) {
    const QString path = buildBase(3);
    const QByteArray before = readAll(path);
    writeAll(mDataFolder.filePath(QStringLiteral("plain-file")), "x");
    RecordingHost host(mDataFolder.filePath(QStringLiteral("plain-file/program")));
    ClassDBP base(host);
    ASSERT_TRUE(base.OpenBDP(path));
    ASSERT_TRUE(base.MoveNext());
    EXPECT_FALSE(base.AddBDP(picture(1), QStringLiteral("nope")));
    // The box names the file that could not be made.
    EXPECT_EQ(host.messages.back().text,
              QStringLiteral("Erreur 76\r\nChemin d'accès introuvable : ") +
                  mDataFolder.filePath(QStringLiteral("plain-file/program/.pictarium.lock")));
    ASSERT_TRUE(base.MoveNext());
    EXPECT_FALSE(base.DeleteBDP());
    EXPECT_EQ(readAll(path), before);
    EXPECT_TRUE(base.isBaseOpen());
    EXPECT_EQ(base.recordCount(), 3);
    EXPECT_EQ(base.currentIndex(), 1);
    EXPECT_TRUE(base.MoveNext());
    EXPECT_EQ(host.lastText, QStringLiteral("record 2"));
}

TEST_F(Failures, ABaseThatWouldReachTwoGigabytesIsRefusedSayingWhy) {
    // One record whose picture fills the base to just below 2 GiB; the file
    // is sparse, so it costs no disk.
    constexpr std::int32_t pictureLength = 0x7FFFFFC0;
    const QString path = basePath();
    QByteArray text("abc");
    FlipBytes(text);
    writeAll(path, QByteArray("\x24\x14\x71\x06", 4) + le32(1) + le32(11) + le32(pictureLength) +
                       le32(8) + le32(3) + text);
    ASSERT_TRUE(QFile::resize(path, 27 + std::int64_t{pictureLength}));
    ASSERT_TRUE(mBase.OpenBDP(path));
    mHost.messages.clear();
    EXPECT_FALSE(mBase.AddBDP(picture(1), QStringLiteral("overflow")));
    ASSERT_FALSE(mHost.messages.empty());
    EXPECT_EQ(mHost.messages.front().text,
              QStringLiteral("Erreur 6\r\nDépassement de capacité : la base atteindrait 2 Go, la "
                             "taille maximale d'une base."));
    EXPECT_EQ(QFileInfo(path).size(), 27 + std::int64_t{pictureLength});
    EXPECT_FALSE(tempFilesLeft());
}

TEST_F(Failures, AZeroLengthEntryClosesTheBase) {
    const QString path = buildBase(2);
    QByteArray bytes = readAll(path);
    putInt32(bytes.data() + 8 + 16 + 12, 0);  // record 1's TextLength
    writeAll(path, bytes);
    ASSERT_TRUE(mBase.OpenBDP(path));
    mHost.take();
    EXPECT_FALSE(mBase.MoveNext());
    const Log log = mHost.take();
    ASSERT_GE(log.size(), 3U);
    EXPECT_EQ(log[0],
              "Box[stop|Tessaline Pictarium] Erreur 9\r\nL'indice n'appartient pas à la sélection");
    EXPECT_EQ(log[1], "Content(none,)");
    EXPECT_EQ(log[2], "Add(0)");
    EXPECT_FALSE(mBase.isBaseOpen());
    EXPECT_FALSE(mBase.MoveLast());
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Ouvrez d'abord une base de données !"));
}

TEST_F(Failures, CountsAndOffsetsThatLieNeverCrashOrAllocateTheClaim) {
    const QString path = buildBase(2);
    const QByteArray good = readAll(path);

    QByteArray moreRecords = good;
    putInt32(moreRecords.data() + 4, 1000000);  // opens: the header is trusted
    writeAll(path, moreRecords);
    ASSERT_TRUE(mBase.OpenBDP(path));
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_FALSE(mBase.MoveEnd());
    EXPECT_EQ(mHost.messages.back().text,
              QStringLiteral("Erreur 62\r\nEntrée au-delà de la fin du fichier"));
    EXPECT_FALSE(mBase.isBaseOpen());

    QByteArray hugePicture = good;
    putInt32(hugePicture.data() + 8 + 4, 0x7FFFFFF0);  // record 0's PicLength
    writeAll(path, hugePicture);
    ASSERT_TRUE(mBase.OpenBDP(path));
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_TRUE(mBase.MoveTo(1));

    QByteArray negative = good;
    putInt32(negative.data() + 4, -5);
    writeAll(path, negative);
    mHost.answer(MessageAnswer::Yes);
    ASSERT_TRUE(mBase.OpenBDP(path));
    EXPECT_FALSE(mBase.MoveNext());
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Il n'ya rien à supprimer !"));
}

// Rewriting a base whose index does not fit the file would only write
// another broken base: it is refused before anything is written.
TEST_F(Failures, AddingToOrDeletingFromABaseWithABadEntryChangesNothing) {
    const QString path = buildBase(3);
    QByteArray bytes = readAll(path);
    putInt32(bytes.data() + 8 + 2 * 16 + 4, 0x7FFFFFF0);  // record 2's picture runs past the end
    writeAll(path, bytes);
    ASSERT_TRUE(mBase.OpenBDP(path));
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_FALSE(mBase.AddBDP(picture(4), QStringLiteral("four")));
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_EQ(readAll(path), bytes);
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_EQ(mBase.recordCount(), 3);
    EXPECT_FALSE(tempFilesLeft());
}

}  // namespace
}  // namespace pictarium::test
