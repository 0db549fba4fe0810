#include "engine/description_match.h"

#include "tests/engine/engine_fixture.h"

namespace pictarium::test {
namespace {

using DescriptionMatchTest = EngineTest;

// Whatever the search finds, the match finds, and nothing else: each pair
// is put to a backward search that examines that one record first.
TEST_F(DescriptionMatchTest, SelectsTheRecordsTheSearchFinds) {
    const QStringList descriptions = {"le Chat noir", "boîte X",    "taxi",   "ÉTÉ à Noël",
                                      "chef-d'œuvre", "Prix : 5 €", "Straße", "  deux  espaces"};
    const QStringList queries = {"chat",  "CHAT", " chat", "x",       "X", "été",   "ETE", "noël",
                                 "œuvre", "€",    "5 €",   "STRASSE", "ß", " deux", "z"};
    openBaseWith(0);
    // Black pictures larger than the search's window, which also reads the
    // first bytes of a short description's picture.
    QImage black(40, 10, QImage::Format_RGB32);
    black.fill(Qt::black);
    for (const QString& description : descriptions) {
        ASSERT_TRUE(mBase.AddBDP(black, description));
    }
    ASSERT_TRUE(mBase.AddBDP(black, QStringLiteral("-")));
    int found = 0;
    for (const QString& query : queries) {
        const DescriptionMatch match(query);
        for (int record = 0; record < descriptions.size(); ++record) {
            SCOPED_TRACE((query + " in " + descriptions[record]).toStdString());
            ASSERT_TRUE(mBase.MoveTo(record + 1));
            const bool searchFinds = mBase.SearchBDP(query, true) && mBase.currentIndex() == record;
            EXPECT_EQ(match.matches(descriptions[record]), searchFinds);
            found += searchFinds ? 1 : 0;
        }
    }
    EXPECT_GT(found, 0);
    EXPECT_LT(found, queries.size() * descriptions.size());
}

}  // namespace
}  // namespace pictarium::test
