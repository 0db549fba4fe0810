#include "tests/cli/cli_fixture.h"

#include <functional>

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

qsizetype entryField(int record, int field) {
    return 8 + 16 * record + 4 * field;
}
constexpr int PicOffsetField = 0;
constexpr int PicLengthField = 1;
constexpr int TextLengthField = 3;

using CliVerifyTest = CliTest;

TEST_F(CliVerifyTest, soundBasesPass) {
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
}

TEST_F(CliVerifyTest, namesTheFaultOfEachCorruptBase) {
    struct Corruption {
        const char* name;
        std::function<void(QByteArray&)> damage;
        QString expectedLine;
    };
    const QList<Corruption> corruptions{
        {"wrong signature", [](QByteArray& b) { b[0] = '\x25'; },
         "Fichier : signature 0x06711425 au lieu de 0x06711424 : ce n'est pas une base "
         "Pictarium."},
        {"negative count", [](QByteArray& b) { setInt32(b, 4, -1); },
         "Fichier : nombre d'enregistrements négatif (-1)."},
        {"index past the end", [](QByteArray& b) { setInt32(b, 4, 1000000); },
         "Fichier : la table d'index de 1000000 entrées finirait à l'octet 16000008, après la "
         "fin du fichier (272 octets)."},
        {"text length 0", [](QByteArray& b) { setInt32(b, entryField(1, TextLengthField), 0); },
         "Enregistrement 1 : longueur du texte 0 hors de 1 à 255."},
        {"text length 256", [](QByteArray& b) { setInt32(b, entryField(0, TextLengthField), 256); },
         "Enregistrement 0 : longueur du texte 256 hors de 1 à 255."},
        {"picture offset past the end",
         [](QByteArray& b) { setInt32(b, entryField(2, PicOffsetField), 1000); },
         "Enregistrement 2 : image aux octets 1048 à 1114, hors de la zone des données (octets "
         "56 à 271)."},
        {"picture length of 2 GiB",
         [](QByteArray& b) { setInt32(b, entryField(1, PicLengthField), 0x7FFFFFFF); },
         "Enregistrement 1 : image aux octets 132 à 2147483778, hors de la zone des données "
         "(octets 56 à 271)."},
        {"truncated file", [](QByteArray& b) { b.chop(10); },
         "Enregistrement 2 : image aux octets 205 à 271, hors de la zone des données (octets 56 "
         "à 261)."},
        {"bytes after the data", [](QByteArray& b) { b += "reste"; },
         "Fichier : 277 octets au lieu de 272 (en-tête, index de 3 entrées et données des "
         "enregistrements)."},
        {"too short for a header", [](QByteArray& b) { b.truncate(6); },
         "Fichier : 6 octets, trop court pour l'en-tête de 8 octets."},
    };
    for (const Corruption& corruption : corruptions) {
        SCOPED_TRACE(corruption.name);
        QByteArray base = threeRecordBase();
        corruption.damage(base);
        writeFile(Base, base);
        const CliResult result = run({"verify", Base});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.split(u'\n').contains(corruption.expectedLine))
            << result.out.toStdString();
    }
}

TEST_F(CliVerifyTest, damagedPictureIsTheOnlyFaultReported) {
    QByteArray base = threeRecordBase();
    const qsizetype pictureOfRecord1 = 56 + 4 + 67 + 5;
    setInt32(base, pictureOfRecord1 + 25, 7);  // bits per pixel: no bitmap has 7
    writeFile(Base, base);
    const CliResult result = run({"verify", Base});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "Enregistrement 1 : l'image ne se reconstruit pas : ses 67 octets ne forment pas un "
              "bitmap lisible.\n");
}

TEST_F(CliVerifyTest, chainedOffsetsAreCheckedRecordByRecord) {
    QByteArray base = threeRecordBase();
    // Record 1's text moved one byte on: its own offsets and record 2's
    // chain no longer agree.
    setInt32(base, entryField(1, 2), 80);
    writeFile(Base, base);
    const CliResult result = run({"verify", Base});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "Enregistrement 1 : position du texte 80 au lieu de 79.\n"
              "Enregistrement 1 : position de l'image 84 au lieu de 85.\n"
              "Enregistrement 2 : position du texte 151 au lieu de 152.\n");
}

TEST_F(CliVerifyTest, missingBaseIsAFailure) {
    const CliResult result = run({"verify", "absente.bdp"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Impossible d'ouvrir la base « absente.bdp ».\n");
}

}  // namespace
}  // namespace pictarium::cli::test
