#include "tests/engine/engine_fixture.h"

#include <QDir>

namespace pictarium::test {
namespace {

const QByteArray kEmptyBase("\x24\x14\x71\x06\0\0\0\0", 8);
const std::string kTitle = "Tessaline Pictarium";

using Lifecycle = EngineTest;

// A base's name ends in .bdp, in any case, after at least one character;
// any other name is refused by create and open alike, and nothing is written.
TEST_F(Lifecycle, OnlyNamesEndingInBdpAreCreatedOrOpened) {
    ASSERT_TRUE(QDir(mDataFolder.path()).mkdir(QStringLiteral("dir.bdp")));
    for (const QString& name : {QStringLiteral("a.bdp"), QStringLiteral("A.BDP"),
                                QStringLiteral("x.Bdp"), QStringLiteral("dir.bdp/y.bDp")}) {
        EXPECT_TRUE(mBase.CreateBDP(basePath(name)));
        EXPECT_EQ(readAll(basePath(name)), kEmptyBase) << name.toStdString();
    }
    EXPECT_TRUE(mHost.messages.empty());
    for (const QString& name :
         {QStringLiteral(".bdp"), QString(), QStringLiteral("bdp"),
          basePath(QStringLiteral("base.bd")), basePath(QStringLiteral("base.bdpx"))}) {
        EXPECT_FALSE(mBase.CreateBDP(name));
        EXPECT_FALSE(mBase.OpenBDP(name));
        EXPECT_FALSE(QFile::exists(name)) << name.toStdString();
    }
    ASSERT_EQ(mHost.messages.size(), 10U);
    for (const Message& message : mHost.messages) {
        EXPECT_EQ(message.text, QStringLiteral("nom de base incorrect !"));
        EXPECT_EQ(message.icon, MessageIcon::Stop);
    }
    EXPECT_FALSE(mHost.mBusy);
}

TEST_F(Lifecycle, ReplacingAnExistingFileAsksAndHonoursTheAnswer) {
    const QString path = basePath();
    writeAll(path, "precious bytes");
    EXPECT_FALSE(mBase.CreateBDP(path));
    EXPECT_EQ(readAll(path), QByteArray("precious bytes"));
    mHost.answer(MessageAnswer::Yes);
    EXPECT_TRUE(mBase.CreateBDP(path));
    EXPECT_EQ(readAll(path), kEmptyBase);
    ASSERT_EQ(mHost.messages.size(), 2U);
    EXPECT_EQ(mHost.messages[0].text,
              QStringLiteral("Le fichier existe déjà, voulez vous le remplacer ?"));
    EXPECT_EQ(mHost.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(mHost.messages[0].buttons, MessageButtons::YesNo);
}

TEST_F(Lifecycle, ReplacingTheOpenBaseFailsAndLeavesItOpen) {
    const QString path = openBaseWith(2);
    const QByteArray before = readAll(path);
    mHost.answer(MessageAnswer::Yes);
    EXPECT_FALSE(mBase.CreateBDP(path));
    EXPECT_EQ(mHost.messages.back().text,
              QStringLiteral("Impossible de supprimer une base de données ouverte !"));
    EXPECT_EQ(readAll(path), before);
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_TRUE(mBase.MoveNext());
    EXPECT_FALSE(mHost.mBusy);
}

// A signature without a count opens as an empty base: the freshness check
// must read the missing count as zero too, or the base looks changed and
// is reopened without end.
TEST_F(Lifecycle, EmptyBasesOpenRefreshingTheButtonsTwiceAndShowNothing) {
    ASSERT_TRUE(mBase.CreateBDP(basePath()));
    writeAll(basePath(QStringLiteral("short.bdp")), QByteArray("\x24\x14\x71\x06", 4));
    const Log refresh = {"Add(1)",  "Next(0)",   "Last(0)",        "Search(0)", "Next(0)",
                         "Last(0)", "Delete(0)", "Content(none,)", "Delete(0)"};
    Log twice = refresh;
    twice.insert(twice.end(), refresh.begin(), refresh.end());
    for (const QString& name : {QStringLiteral("base.bdp"), QStringLiteral("short.bdp")}) {
        ClassDBP base(mHost);
        mHost.take();
        EXPECT_TRUE(base.OpenBDP(basePath(name)));
        EXPECT_EQ(mHost.take(), twice) << name.toStdString();
        // Moves show nothing; Next refreshes the buttons once more.
        EXPECT_FALSE(base.MoveEnd());
        EXPECT_FALSE(base.MoveFirst());
        EXPECT_FALSE(base.MoveLast());
        EXPECT_TRUE(mHost.take().empty());
        EXPECT_FALSE(base.MoveNext());
        EXPECT_EQ(mHost.take(), refresh);
        EXPECT_TRUE(base.isBaseOpen());
    }
    EXPECT_TRUE(mHost.messages.empty());
}

TEST_F(Lifecycle, OpeningABaseShowsRecordZeroAfterTheFirstRefresh) {
    const QString path = buildBase(3);
    ClassDBP other(mHost);
    EXPECT_TRUE(other.OpenBDP(path));
    EXPECT_EQ(mHost.take(), (Log{"Add(1)", "Next(1)", "Last(0)", "Delete(0)", "Content(record 0)",
                                 "Add(1)", "Next(1)", "Last(0)", "Delete(1)"}));
    EXPECT_EQ(other.currentIndex(), 0);
    EXPECT_EQ(mHost.lastPicture, picture(0));
}

TEST_F(Lifecycle, AWrongSignatureIsRefusedBeforeAnyQuestion) {
    openBaseWith(2);
    mBase.MoveNext();
    mHost.take();
    for (const QByteArray& content :
         {QByteArray("\x24\x14\x71\x07\0\0\0\0", 8), QByteArray("ab")}) {
        writeAll(basePath(QStringLiteral("other.bdp")), content);
        EXPECT_FALSE(mBase.OpenBDP(basePath(QStringLiteral("other.bdp"))));
        EXPECT_EQ(mHost.take(), (Log{"Box[stop|" + kTitle +
                                     "] Ce fichier n'est pas un fichier Pictarium, ouverture "
                                     "impossible !"}));
    }
    EXPECT_TRUE(mBase.isBaseOpen());
    EXPECT_EQ(mBase.currentIndex(), 1);
}

TEST_F(Lifecycle, OpeningWhileABaseIsOpenAsksFirst) {
    const QString first = openBaseWith(2);
    mBase.MoveNext();
    const QString second = buildBase(1, QStringLiteral("second.bdp"));
    EXPECT_FALSE(mBase.OpenBDP(second));  // answered No
    EXPECT_EQ(mBase.fileName(), first);
    EXPECT_EQ(mBase.currentIndex(), 1);
    EXPECT_FALSE(mHost.mBusy);

    mHost.answer(MessageAnswer::Yes);
    EXPECT_TRUE(mBase.OpenBDP(second));
    EXPECT_EQ(mHost.messages.back().text,
              QStringLiteral("Une base est déjà ouverte, souhaitez vous la fermer ?"));
    EXPECT_EQ(mHost.messages.back().icon, MessageIcon::Question);
    EXPECT_EQ(mBase.fileName(), second);
    EXPECT_EQ(mBase.recordCount(), 1);

    mHost.answer(MessageAnswer::Yes);
    EXPECT_TRUE(mBase.OpenBDP(second));  // the same base again shows record 0
    EXPECT_EQ(mBase.currentIndex(), 0);
}

TEST_F(Lifecycle, AMissingFileIsNotFound) {
    EXPECT_FALSE(mBase.OpenBDP(basePath(QStringLiteral("missing.bdp"))));
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Fichier introuvable !"));
}

TEST_F(Lifecycle, FileExistsSkipsFoldersAndHiddenFilesAndHonoursWildcards) {
    QDir(mDataFolder.path()).mkdir(QStringLiteral("folder.bdp"));
    writeAll(basePath(QStringLiteral(".hidden.bdp")), "x");
    EXPECT_FALSE(mBase.FileExists(basePath(QStringLiteral("folder.bdp"))));
    EXPECT_FALSE(mBase.FileExists(basePath(QStringLiteral(".hidden.bdp"))));
    EXPECT_FALSE(mBase.FileExists(basePath(QStringLiteral("*.bdp"))));
    writeAll(basePath(QStringLiteral("photos.bdp")), "x");
    EXPECT_TRUE(mBase.FileExists(basePath(QStringLiteral("*.bdp"))));
    EXPECT_TRUE(mBase.FileExists(basePath(QStringLiteral("ph?tos.bdp"))));
    EXPECT_FALSE(mBase.FileExists(QString()));
    EXPECT_FALSE(mBase.FileExists(mDataFolder.path() + QStringLiteral("/nothing/*.bdp")));
}

TEST_F(Lifecycle, ACorruptFirstPictureStillOpensTheBase) {
    const QString path = buildBase(2);
    spoilPicture(path, 0);
    ClassDBP other(mHost);
    EXPECT_TRUE(other.OpenBDP(path));
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_TRUE(other.isBaseOpen());
    EXPECT_EQ(other.currentIndex(), -1);
    EXPECT_FALSE(other.MoveNext());  // record 0 again
    EXPECT_TRUE(other.MoveTo(1));
    EXPECT_EQ(mHost.lastText, QStringLiteral("record 1"));
}

}  // namespace
}  // namespace pictarium::test
