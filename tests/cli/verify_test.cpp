#include "tests/cli/cli_fixture.h"

namespace pictarium::cli::test {
namespace {

const QString Base = QStringLiteral("base.bdp");

// Three records of 4, 5 and 6 text bytes and 67 picture bytes each:
// data from byte 56, record 2's picture at bytes 205 to 271, 272 bytes in all.
QByteArray threeRecordBase() {
    return wellFormedBase({{storedText("chat"), storedPicture(Qt::red)},
                           {storedText("chien"), storedPicture(Qt::green)},
                           {storedText("oiseau"), storedPicture(Qt::blue)}});
}

using CliVerifyTest = CliTest;

// The rules themselves are the verifier's; here, what the command prints
// and its exit status.
TEST_F(CliVerifyTest, soundBasesPassAndFaultsFail) {
    ASSERT_EQ(threeRecordBase().size(), 272);
    writeFile(Base, threeRecordBase());
    const CliResult byHand = run({"verify", Base});
    EXPECT_EQ(byHand.exitCode, 0);
    EXPECT_EQ(byHand.out, "Base correcte : 3 enregistrement(s).\n");

    ASSERT_EQ(run({"create", "moteur.bdp"}).exitCode, 0);
    EXPECT_EQ(run({"verify", "moteur.bdp"}).out, "Base correcte : 0 enregistrement(s).\n");
    ASSERT_EQ(run({"add", "moteur.bdp", writePicture("a.png", Qt::red, 33, 17), "été"}).exitCode,
              0);
    ASSERT_EQ(run({"add", "moteur.bdp", writePicture("b.png", Qt::blue), "hiver"}).exitCode, 0);
    EXPECT_EQ(run({"verify", "moteur.bdp"}).exitCode, 0);

    QByteArray truncated = threeRecordBase();
    truncated.chop(10);
    writeFile(Base, truncated);
    const CliResult damaged = run({"verify", Base});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.out.split(u'\n').contains(
        "Enregistrement 2 : image aux octets 205 à 271, hors de la zone des données (octets 56 à "
        "261)."))
        << damaged.out.toStdString();
}

TEST_F(CliVerifyTest, missingBaseIsAFailure) {
    const CliResult result = run({"verify", "absente.bdp"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Impossible d'ouvrir la base « absente.bdp ».\n");
}

}  // namespace
}  // namespace pictarium::cli::test
