#include "base/binary_file.h"
#include "engine/base_verifier.h"
#include "tests/qstring_printer.h"
#include "tests/stored_base.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace pictarium::test {
namespace {

qsizetype entryField(int record, int field) {
    return 8 + 16 * record + 4 * field;
}
constexpr int PicOffsetField = 0;
constexpr int PicLengthField = 1;
constexpr int TextLengthField = 3;

class VerifierTest : public ::testing::Test {
protected:
    // What the verifier says of the base `bytes`, one line per problem.
    QStringList problemsOf(const QByteArray& bytes) {
        const QString path = mFolder.filePath(QStringLiteral("base.bdp"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const BinaryFile base = BinaryFile::openForReading(path);
        QStringList lines;
        for (const BaseProblem& problem : BaseVerifier(base).verify()) {
            lines << problem.toText();
        }
        return lines;
    }

    QTemporaryDir mFolder;
};

TEST_F(VerifierTest, aSoundBasePasses) {
    ASSERT_EQ(threeRecordBase().size(), 272);
    EXPECT_EQ(problemsOf(threeRecordBase()), QStringList());
    EXPECT_EQ(problemsOf(wellFormedBase({})), QStringList());
    // The shortest and the longest texts a record may have.
    EXPECT_EQ(
        problemsOf(wellFormedBase({{storedText("a"), storedPicture(Qt::red)},
                                   {storedText(QByteArray(255, 'z')), storedPicture(Qt::blue)}})),
        QStringList());
}

TEST_F(VerifierTest, namesTheFaultOfEachCorruptBase) {
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
        const QStringList problems = problemsOf(base);
        EXPECT_TRUE(problems.contains(corruption.expectedLine))
            << problems.join('\n').toStdString();
    }
}

TEST_F(VerifierTest, aDamagedPictureIsTheOnlyFaultReported) {
    QByteArray base = threeRecordBase();
    const qsizetype pictureOfRecord1 = 56 + 4 + 67 + 5;
    setInt32(base, pictureOfRecord1 + 25, 7);  // bits per pixel: no bitmap has 7
    EXPECT_EQ(problemsOf(base),
              QStringList{"Enregistrement 1 : l'image ne se reconstruit pas : ses 67 octets ne "
                          "forment pas un bitmap lisible."});
}

TEST_F(VerifierTest, chainedOffsetsAreCheckedRecordByRecord) {
    QByteArray base = threeRecordBase();
    // Record 1's text moved one byte on: its own offsets and record 2's
    // chain no longer agree.
    setInt32(base, entryField(1, 2), 80);
    EXPECT_EQ(problemsOf(base),
              (QStringList{"Enregistrement 1 : position du texte 80 au lieu de 79.",
                           "Enregistrement 1 : position de l'image 84 au lieu de 85.",
                           "Enregistrement 2 : position du texte 151 au lieu de 152."}));
}

}  // namespace
}  // namespace pictarium::test
