#include "tests/cli/cli_fixture.h"

namespace pictarium::cli::test {
namespace {

const QString Base = QStringLiteral("base.bdp");

using CliVerifyTest = CliTest;

// The rules themselves are the verifier's, and bases the engine writes are
// verified by the other commands' tests; here, what the command prints and
// its exit status.
TEST_F(CliVerifyTest, soundBasesPassFaultsAndMissingBasesFail) {
    ASSERT_EQ(threeRecordBase().size(), 272);
    writeFile(Base, threeRecordBase());
    const CliResult byHand = run({"verify", Base});
    EXPECT_EQ(byHand.exitCode, 0);
    EXPECT_EQ(byHand.out, "Base correcte : 3 enregistrement(s).\n");

    QByteArray truncated = threeRecordBase();
    truncated.chop(10);
    writeFile(Base, truncated);
    const CliResult damaged = run({"verify", Base});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.out.split(u'\n').contains(
        "Enregistrement 2 : image aux octets 205 à 271, hors de la zone des données (octets 56 à "
        "261)."))
        << damaged.out.toStdString();

    const CliResult missing = run({"verify", "absente.bdp"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Impossible d'ouvrir la base « absente.bdp ».\n");
}

}  // namespace
}  // namespace pictarium::cli::test
