#include "tests/engine/engine_fixture.h"

namespace pictarium::test {
namespace {

class Search : public EngineTest {
protected:
    void openWithTexts(const QStringList& texts) {
        openBaseWith(0);
        for (int i = 0; i < texts.size(); ++i) {
            // Pictures longer than the 255-byte window, so that no record's
            // window reaches the next record's text.
            ASSERT_TRUE(mBase.AddBDP(picture(i, 40, 10), texts[i]));
        }
        ASSERT_TRUE(mBase.MoveFirst());
        mHost.take();
        mHost.messages.clear();
    }

    std::string lastBox() const {
        return mHost.messages.empty() ? std::string() : mHost.messages.back().text.toStdString();
    }
};

TEST_F(Search, FindsForwardsIgnoringCaseAndShowsTheHit) {
    openWithTexts(
        {QStringLiteral("un chien"), QStringLiteral("une souris"), QStringLiteral("le Chat noir")});
    for (const QString& query :
         {QStringLiteral("chat"), QStringLiteral("CHAT"), QStringLiteral("Chat")}) {
        ASSERT_TRUE(mBase.MoveFirst());
        mHost.take();
        EXPECT_TRUE(mBase.SearchBDP(query));
        EXPECT_EQ(mBase.currentIndex(), 2);
        EXPECT_EQ(mHost.take().front(), "Content(le Chat noir)");
    }
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("chat"), true));
    EXPECT_EQ(lastBox(), "Aucun élément trouvé !");
    EXPECT_EQ(mBase.currentIndex(), 2);
    EXPECT_FALSE(mHost.mBusy);
}

TEST_F(Search, NeverExaminesTheCurrentRecordAndDoesNotWrap) {
    openWithTexts({QStringLiteral("a"), QStringLiteral("cible"), QStringLiteral("b")});
    ASSERT_TRUE(mBase.MoveNext());
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("cible")));
    EXPECT_EQ(lastBox(), "Aucun élément trouvé !");
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("cible"), true));
    EXPECT_EQ(lastBox(), "Aucun élément trouvé !");
    ASSERT_TRUE(mBase.MoveEnd());
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("a")));
    EXPECT_EQ(lastBox(), "Dernier enregistrement !");
    ASSERT_TRUE(mBase.MoveFirst());
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("b"), true));
    EXPECT_EQ(lastBox(), "Premier enregistrement !");
    EXPECT_EQ(mHost.messages.back().title, QStringLiteral("Tessaline Pictarium"));
}

TEST_F(Search, BackwardsShowsTheNearestHit) {
    openWithTexts({QStringLiteral("mer 0"), QStringLiteral("mer 1"), QStringLiteral("terre"),
                   QStringLiteral("fin")});
    ASSERT_TRUE(mBase.MoveEnd());
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("MER"), true));
    EXPECT_EQ(mBase.currentIndex(), 1);
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("mer"), true));
    EXPECT_EQ(mBase.currentIndex(), 0);
}

TEST_F(Search, ComparesStoredFormsSoXAndAccentsBehaveAsStored) {
    openWithTexts({QStringLiteral("début"), QStringLiteral("boîte X"), QStringLiteral("taxi"),
                   QStringLiteral("ÉTÉ")});
    // A small x is stored as a character that has no capital: it skips "X".
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("x")));
    EXPECT_EQ(mBase.currentIndex(), 2);
    ASSERT_TRUE(mBase.MoveFirst());
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("X")));
    EXPECT_EQ(mBase.currentIndex(), 1);
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("X")));
    EXPECT_EQ(lastBox(), "Aucun élément trouvé !");
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("été")));
    EXPECT_EQ(mBase.currentIndex(), 3);
}

TEST_F(Search, QueriesAreCheckedBeforeScanning) {
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("a")));
    EXPECT_EQ(lastBox(), "Ouvrez d'abord une base de données !");
    openBaseWith(0, QStringLiteral("empty.bdp"));
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("a")));
    EXPECT_EQ(lastBox(), "Il n'ya rien à rechercher !");
    openWithTexts({QStringLiteral("seul")});
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("  ")));
    EXPECT_EQ(lastBox(), "Indiquez un texte à rechercher !");
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("seul")));
    EXPECT_EQ(lastBox(), "Dernier enregistrement !");
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("seul"), true));
    EXPECT_EQ(lastBox(), "Premier enregistrement !");
}

TEST_F(Search, SpacesAroundTheQueryAreSearchedToo) {
    openWithTexts({QStringLiteral("x"), QStringLiteral("chaton"), QStringLiteral("le chat dort")});
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral(" chat ")));
    EXPECT_EQ(mBase.currentIndex(), 2);
}

TEST_F(Search, AHitWhosePictureIsDamagedStillCountsAsFound) {
    const QString path = buildBase(3);
    QByteArray bytes = readAll(path);
    const int pictureOfRecord0 = 8 + 3 * 16 + 8;
    bytes[pictureOfRecord0 + 11] = '\x7F';
    bytes[pictureOfRecord0 + 12] = '\x7F';
    writeAll(path, bytes);
    ASSERT_TRUE(mBase.OpenBDP(path));
    ASSERT_TRUE(mBase.MoveTo(2));
    mHost.messages.clear();
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("record 0"), true));
    EXPECT_EQ(lastBox(),
              "Impossible d'obtenir l'image de cet index !!! Votre base de données doit "
              "être corrompue !");
    EXPECT_EQ(mBase.currentIndex(), -1);
}

}  // namespace
}  // namespace pictarium::test
