#include "tests/engine/engine_fixture.h"

namespace pictarium::test {
namespace {

using Search = EngineTest;

// From the record on show, forwards or backwards, never that record itself
// and never round the end; the stored forms are compared, so case does not
// count, a small x (stored as a character without capital) never matches
// an X, and the spaces around the query are searched too.
TEST_F(Search, ShowsTheNearestHitOrSaysWhyNone) {
    const QStringList texts = {"un chien", "le Chat noir", "cible",        "mer 0",
                               "mer 1",    "chaton",       "le chat dort", "début",
                               "boîte X",  "taxi",         "ÉTÉ"};
    openBaseWith(0);
    for (int i = 0; i < texts.size(); ++i) {
        // Pictures longer than the 255-byte window, so that no record's
        // window reaches the next record's text.
        ASSERT_TRUE(mBase.AddBDP(picture(i, 40, 10), texts[i]));
    }
    struct Case {
        int from;
        QString query;
        bool backwards;
        int hit;  // -1: none, and `box` says why
        std::string box;
    };
    const std::string none = "Aucun élément trouvé !";
    const std::vector<Case> cases = {
        {0, "chat", false, 1, ""},
        {0, "CHAT", false, 1, ""},
        {0, "Chat", false, 1, ""},
        {1, " chat ", false, 6, ""},
        {10, "MER", true, 4, ""},
        {4, "mer", true, 3, ""},
        {2, "cible", false, -1, none},
        {2, "cible", true, -1, none},
        {10, "a", false, -1, "Dernier enregistrement !"},
        {0, "b", true, -1, "Premier enregistrement !"},
        {0, "x", false, 9, ""},
        {0, "X", false, 8, ""},
        {8, "X", false, -1, none},
        {8, "été", false, 10, ""},
        {0, "  ", false, -1, "Indiquez un texte à rechercher !"},
    };
    for (const Case& sample : cases) {
        SCOPED_TRACE(sample.query.toStdString() + " from " + std::to_string(sample.from));
        ASSERT_TRUE(mBase.MoveTo(sample.from));
        mHost.take();
        mHost.messages.clear();
        EXPECT_EQ(mBase.SearchBDP(sample.query, sample.backwards), sample.hit >= 0);
        EXPECT_FALSE(mHost.mBusy);
        if (sample.hit >= 0) {
            EXPECT_EQ(mBase.currentIndex(), sample.hit);
            EXPECT_EQ(mHost.take().front(), "Content(" + texts[sample.hit].toStdString() + ")");
            EXPECT_TRUE(mHost.messages.empty());
            continue;
        }
        EXPECT_EQ(mBase.currentIndex(), sample.from);
        ASSERT_EQ(mHost.messages.size(), 1U);
        EXPECT_EQ(mHost.messages[0].text.toStdString(), sample.box);
        EXPECT_EQ(mHost.messages[0].title, QStringLiteral("Tessaline Pictarium"));
    }
}

TEST_F(Search, NeedsARecordToStartFrom) {
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("a")));
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Ouvrez d'abord une base de données !"));
    openBaseWith(0);
    EXPECT_FALSE(mBase.SearchBDP(QStringLiteral("a")));
    EXPECT_EQ(mHost.messages.back().text, QStringLiteral("Il n'ya rien à rechercher !"));
}

TEST_F(Search, AHitWhosePictureIsDamagedStillCountsAsFound) {
    const QString path = buildBase(3);
    spoilPicture(path, 0);
    ASSERT_TRUE(mBase.OpenBDP(path));
    ASSERT_TRUE(mBase.MoveTo(2));
    mHost.messages.clear();
    EXPECT_TRUE(mBase.SearchBDP(QStringLiteral("record 0"), true));
    EXPECT_EQ(mHost.messages.back().text, kCorrupt);
    EXPECT_EQ(mBase.currentIndex(), -1);
}

}  // namespace
}  // namespace pictarium::test
