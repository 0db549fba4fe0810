#include "tests/cli/cli_fixture.h"

namespace pictarium::cli::test {
namespace {

const QString Damaged = QStringLiteral("abimee.bdp");
const QString Saved = QStringLiteral("sauvee.bdp");

using CliRecoverTest = CliTest;

TEST_F(CliRecoverTest, savesWhatADamagedBaseHoldsAndSaysWhereEachRecordCameFrom) {
    QByteArray damaged = threeRecordBase();
    damaged.replace(8 + 16, 16, QByteArray(16, '\0'));  // record 1's entry
    damaged.chop(10);                                   // record 2's picture
    writeFile(Damaged, damaged);
    const CliResult saved = run({"recover", Damaged, Saved});
    EXPECT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    // 262 bytes, less the header, record 0 with its entry and record 1.
    EXPECT_EQ(saved.out,
              "index\t56\tchat\n"
              "scan\t127\tchien\n"
              "2 enregistrement(s) récupéré(s), 2 enregistrement(s) de l'index "
              "illisible(s), 95 octet(s) hors des enregistrements récupérés.\n");
    EXPECT_EQ(readFile(Damaged), damaged);
    EXPECT_EQ(run({"verify", Saved}).out, "Base correcte : 2 enregistrement(s).\n");
    EXPECT_EQ(run({"list", Saved}).out, "0\t4\t67\tchat\n1\t5\t67\tchien\n");
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty());
}

TEST_F(CliRecoverTest, asksBeforeReplacingAFileAndNeverWritesTheDamagedBase) {
    writeFile(Damaged, threeRecordBase());
    writeFile(Saved, "a file of mine");
    const CliResult refused = run({"recover", Damaged, Saved});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Le fichier existe déjà, voulez vous le remplacer ?"));
    EXPECT_EQ(readFile(Saved), "a file of mine");
    EXPECT_EQ(run({"recover", Damaged, Saved, "--yes"}).exitCode, 0);
    EXPECT_EQ(readFile(Saved), threeRecordBase());

    const CliResult onItself = run({"recover", Damaged, Damaged, "--yes"});
    EXPECT_EQ(onItself.exitCode, 1);
    EXPECT_EQ(onItself.err,
              "La nouvelle base doit être un autre fichier que la base endommagée.\n");
    EXPECT_EQ(readFile(Damaged), threeRecordBase());
}

TEST_F(CliRecoverTest, writesNothingWhenNothingCanBeSaved) {
    writeFile(Damaged, threeRecordBase().left(60));
    const CliResult nothing = run({"recover", Damaged, Saved});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_TRUE(nothing.out.startsWith("0 enregistrement(s) récupéré(s), 3 enregistrement(s)"));
    EXPECT_FALSE(QFile::exists(path(Saved)));
    EXPECT_EQ(run({"recover", "absente.bdp", Saved}).exitCode, 1);
    EXPECT_EQ(run({"recover", Damaged}).exitCode, 2);
    EXPECT_EQ(run({"recover", Damaged, "sauvee.txt"}).exitCode, 1);
}

}  // namespace
}  // namespace pictarium::cli::test
