#include "imaging/metafile/emf_reader.h"
#include "tests/cli/cli_fixture.h"
#include "tests/imaging/metafile/emf_samples.h"

#include <QImage>

namespace pictarium::cli::test {
namespace {

const QString Base = QStringLiteral("base.bdp");
const QString CorruptMessage = QStringLiteral(
    "Impossible d'obtenir l'image de cet index !!! Votre base de données doit être corrompue "
    "!\n");

// The list line the engine should give for record `index` of the base file.
QString expectedListLine(const QByteArray& base, int index, const QString& text) {
    const std::int32_t picLength = int32At(base, 8 + 16 * index + 4);
    const std::int32_t textLength = int32At(base, 8 + 16 * index + 12);
    return QStringLiteral("%1\t%2\t%3\t%4\n")
        .arg(QString::number(index), QString::number(textLength), QString::number(picLength), text);
}

class CliCommandsTest : public CliTest {
protected:
    // Three records, each from a picture file of another format.
    void addThreeRecords() {
        ASSERT_EQ(run({"add", Base, writePicture("rouge.png", Qt::red), "Un chat noir"}).exitCode,
                  0);
        ASSERT_EQ(
            run({"add", Base, writePicture("bleu.bmp", Qt::blue, 5, 2), "Le Chien été"}).exitCode,
            0);
        ASSERT_EQ(run({"add", Base, writePicture("vert.jpg", Qt::green), "oiseau"}).exitCode, 0);
    }
};

TEST_F(CliCommandsTest, createAddListPictureSearchInfoDeleteRoundTrip) {
    const CliResult created = run({"create", Base});
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_EQ(created.err, "");
    EXPECT_EQ(readFile(Base), QByteArray::fromHex("2414710600000000"));

    ASSERT_NO_FATAL_FAILURE(addThreeRecords());
    const QByteArray base = readFile(Base);
    const CliResult listed = run({"list", Base});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(listed.out, expectedListLine(base, 0, "Un chat noir") +
                              expectedListLine(base, 1, "Le Chien été") +
                              expectedListLine(base, 2, "oiseau"));

    const CliResult extracted = run({"picture", Base, "1", "sortie.bmp"});
    EXPECT_EQ(extracted.exitCode, 0);
    const std::int32_t picOffset = int32At(base, 8 + 16);
    const std::int32_t picLength = int32At(base, 8 + 16 + 4);
    // The stored bytes, behind "BM" and a size field that is the file's length.
    const QByteArray written = readFile("sortie.bmp");
    EXPECT_EQ(written.mid(6), base.mid(16 * 3 + picOffset + 3, picLength - 3));
    EXPECT_EQ(written.left(2), "BM");
    EXPECT_EQ(int32At(written, 2), written.size());
    EXPECT_EQ(written.size(), picLength + 3);
    const QImage rebuilt(path("sortie.bmp"));
    EXPECT_EQ(rebuilt.size(), QSize(5, 2));
    EXPECT_EQ(rebuilt.pixelColor(4, 1), QColor(Qt::blue));

    EXPECT_EQ(run({"search", Base, "CHIEN", "--from", "0"}).out, "1\n");
    EXPECT_EQ(run({"search", Base, "chat", "--from", "2", "--backward"}).out, "0\n");
    const CliResult missed = run({"search", Base, "zèbre", "--from", "0"});
    EXPECT_EQ(missed.exitCode, 1);
    EXPECT_EQ(missed.out, "");
    EXPECT_EQ(missed.err, "Aucun élément trouvé !\n");

    const CliResult info = run({"info", Base, "--at", "1"});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.err, "");
    EXPECT_EQ(info.out,
              "Nom de la base ouverte: base.bdp\n"
              "Nombre d'éléments dans la base: 3\n"
              "Index visible actuellement:2\n"
              "\n"
              "A propos de Pictarium :\n"
              "La structure des bases BDP est réalisée pour le groupe de logiciels Tessaline. "
              "Elle n'appartient à aucune famille des bases de données gérées par windows\n");

    EXPECT_EQ(run({"delete", Base, "0"}).exitCode, 0);
    const QByteArray afterDelete = readFile(Base);
    EXPECT_EQ(afterDelete.size(), base.size() - 16 - int32At(base, 8 + 12) - int32At(base, 8 + 4));
    EXPECT_EQ(run({"list", Base}).out, expectedListLine(afterDelete, 0, "Le Chien été") +
                                           expectedListLine(afterDelete, 1, "oiseau"));
    EXPECT_EQ(run({"verify", Base}).exitCode, 0);
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty())
        << leftOverTemporaryFiles().join(u' ').toStdString();
}

TEST_F(CliCommandsTest, addReadsByExtensionAndExportWritesByTheNamesEnding) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QRgb rose = qRgb(200, 40, 90);
    // A TIFF goes through the imaging component, a bitmap through the platform's loader.
    ASSERT_EQ(run({"add", Base, writePicture("rose.tif", QColor(rose), 16, 8), "rose"}).exitCode,
              0);
    ASSERT_EQ(run({"add", Base, writePicture("rose.bmp", QColor(rose), 16, 8), "bmp"}).exitCode, 0);

    EXPECT_EQ(run({"export", Base, "0", "copie.BMP"}).exitCode, 0);
    const QImage bitmap(path("copie.BMP"), "BMP");
    ASSERT_EQ(bitmap.size(), QSize(16, 8));
    EXPECT_EQ(bitmap.pixel(5, 5), rose);
    EXPECT_EQ(readFile("copie.BMP").at(28), 24);  // bits per pixel

    EXPECT_EQ(run({"export", Base, "1", "copie.Jpg"}).exitCode, 0);
    EXPECT_TRUE(readFile("copie.Jpg").startsWith("\xFF\xD8"));
    const QColor decoded = QImage(path("copie.Jpg"), "JPEG").pixelColor(5, 5);
    EXPECT_NEAR(decoded.red(), 200, 12);
    EXPECT_NEAR(decoded.green(), 40, 12);
    EXPECT_NEAR(decoded.blue(), 90, 12);

    EXPECT_EQ(run({"export", Base, "0", "copie.png"}).exitCode, 0);
    EXPECT_EQ(QImage(path("copie.png"), "PNG").pixel(5, 5), rose);

    for (const char* name : {"copie.gif", "sans-extension"}) {
        const CliResult refused = run({"export", Base, "0", name});
        EXPECT_EQ(refused.exitCode, 1) << name;
        EXPECT_EQ(refused.err,
                  "Choisissez un nom en .bmp, .jpg ou .png : l'image n'a pas été enregistrée.\n");
        EXPECT_FALSE(QFile::exists(path(name))) << name;
    }
}

// Metafile text is drawn with the machine's fonts: the command line must
// not leave it out where the window would show it.
TEST_F(CliCommandsTest, metafilesAreAddedWithTheirText) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QList<pictarium::test::EmfSample> samples = pictarium::test::emfSamplesOfEveryKind();
    for (int index = 0; index < samples.size(); ++index) {
        const pictarium::test::EmfSample& sample = samples[index];
        SCOPED_TRACE(sample.name.toStdString());
        writeFile(sample.name, sample.bytes);
        ASSERT_EQ(run({"add", Base, sample.name, sample.name}).exitCode, 0);
        ASSERT_EQ(run({"export", Base, QString::number(index), "copie.bmp"}).exitCode, 0);
        EXPECT_EQ(QImage(path("copie.bmp"), "BMP").convertToFormat(QImage::Format_RGB32),
                  pictarium::decodeEnhancedMetafile(sample.bytes));
    }
}

TEST_F(CliCommandsTest, createRefusesBadNamesAndAsksBeforeReplacing) {
    const CliResult badName = run({"create", "base.bd"});
    EXPECT_EQ(badName.exitCode, 1);
    EXPECT_EQ(badName.err, "nom de base incorrect !\n");
    EXPECT_FALSE(QFile::exists(path("base.bd")));

    const QByteArray existing("not replaced");
    writeFile(Base, existing);
    const CliResult answeredNo = run({"create", Base});
    EXPECT_EQ(answeredNo.exitCode, 1);
    EXPECT_EQ(answeredNo.err, "Le fichier existe déjà, voulez vous le remplacer ?\n");
    EXPECT_EQ(readFile(Base), existing);

    const CliResult answeredYes = run({"create", Base, "--yes"});
    EXPECT_EQ(answeredYes.exitCode, 0);
    EXPECT_EQ(readFile(Base), QByteArray::fromHex("2414710600000000"));
}

TEST_F(CliCommandsTest, addRefusalsLeaveTheBaseUnchanged) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QString picture = writePicture("image.png", Qt::red);
    writeFile("pas-une-image.png", "ceci n'est pas une image");
    ASSERT_TRUE(QFile::copy(path(picture), path("notes.txt")));

    struct Refusal {
        QStringList arguments;
        QString message;
    };
    const QList<Refusal> refusals{
        {{"add", Base, picture, "   "}, "Indiquez un texte svp !\n"},
        {{"add", Base, picture, QString(256, u'a')},
         "Le texte ne doit pas dépasser 255 caractères !\n"},
        {{"add", "absente.bdp", picture, "chat"}, "Fichier introuvable !\n"},
        {{"add", Base, "pas-une-image.png", "chat"},
         "L'image du fichier « pas-une-image.png » ne peut pas être lue !\n"},
        {{"add", Base, "notes.txt", "chat"},
         "« notes.txt » n'a pas l'extension d'une image reconnue : rien n'est ajouté.\n"},
        {{"add", Base, "absente.png", "chat"},
         "Impossible de lire l'image « absente.png » : fichier introuvable.\n"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.arguments.join(u' ').left(60).toStdString());
        const CliResult result = run(refusal.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, refusal.message);
        EXPECT_EQ(readFile(Base), QByteArray::fromHex("2414710600000000"));
    }
    // 255 characters is the longest description.
    EXPECT_EQ(run({"add", Base, picture, QString(255, u'a')}).exitCode, 0);
}

TEST_F(CliCommandsTest, readingCommandsReportTheEnginesRefusals) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_NO_FATAL_FAILURE(addThreeRecords());
    writeFile("autre.bdp", "GIF89a, pas une base");
    ASSERT_EQ(run({"create", "vide.bdp"}).exitCode, 0);

    struct Refusal {
        QStringList arguments;
        QString message;
    };
    const QList<Refusal> refusals{
        {{"list", "autre.bdp"},
         "Ce fichier n'est pas un fichier Pictarium, ouverture impossible !\n"},
        {{"info", "base.txt"}, "nom de base incorrect !\n"},
        {{"picture", Base, "3", "sortie.bmp"},
         "Pas d'enregistrement d'index 3 : la base en compte 3.\n"},
        {{"search", Base, "chat", "--from", "2"}, "Dernier enregistrement !\n"},
        {{"search", Base, "chat", "--from", "0", "--backward"}, "Premier enregistrement !\n"},
        {{"search", Base, "  ", "--from", "0"}, "Indiquez un texte à rechercher !\n"},
        {{"delete", "vide.bdp", "0"}, "Il n'ya rien à supprimer !\n"},
        {{"search", "vide.bdp", "chat", "--from", "0"}, "Il n'ya rien à rechercher !\n"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.arguments.join(u' ').toStdString());
        const CliResult result = run(refusal.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, refusal.message);
    }
    EXPECT_FALSE(QFile::exists(path("sortie.bmp")));
}

TEST_F(CliCommandsTest, recordWithDamagedPictureIsListedReportedWhenShownAndCanBeDeleted) {
    QByteArray damaged = storedPicture(Qt::red);
    setInt32(damaged, 25, 7);  // bits per pixel: no bitmap has 7
    writeFile(Base, wellFormedBase({{storedText("chat"), storedPicture(Qt::red)},
                                    {storedText("un chat"), damaged},
                                    {storedText("chien"), storedPicture(Qt::blue)}}));
    const QByteArray base = readFile(Base);

    // The list reads texts, not pictures: every record is listed.
    const CliResult listed = run({"list", Base});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, expectedListLine(base, 0, "chat") + expectedListLine(base, 1, "un chat") +
                              expectedListLine(base, 2, "chien"));
    EXPECT_EQ(listed.err, "");

    // The hit is found but cannot be shown: no index is printed.
    const CliResult searched = run({"search", Base, "chat", "--from", "0"});
    EXPECT_EQ(searched.exitCode, 1);
    EXPECT_EQ(searched.out, "");
    EXPECT_EQ(searched.err, CorruptMessage);

    // Its picture need not be shown to delete it.
    EXPECT_EQ(run({"picture", Base, "1", "out.bmp"}).exitCode, 1);
    EXPECT_EQ(run({"delete", Base, "1"}).exitCode, 0);
    EXPECT_EQ(run({"list", Base}).out, expectedListLine(readFile(Base), 0, "chat") +
                                           expectedListLine(readFile(Base), 1, "chien"));
}

TEST_F(CliCommandsTest, usageErrorsExitWithTwo) {
    const QList<QStringList> mistakes{
        {},
        {"ajoute"},
        {"list"},
        {"list", Base, "de trop"},
        {"picture", Base, "premier", "sortie.bmp"},
        {"delete", Base, "-1"},
        {"search", Base, "chat"},
        {"search", Base, "chat", "--from"},
        {"create", Base, "--force"},
        {"create", Base, "--yes=oui"},
        {"info", Base, "--at", "1", "--at", "2"},
    };
    for (const QStringList& mistake : mistakes) {
        SCOPED_TRACE(mistake.join(u' ').toStdString());
        const CliResult result = run(mistake);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.startsWith("pictarium-cli : ")) << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(QFile::exists(path(Base)));
}

TEST_F(CliCommandsTest, helpDescribesEveryCommand) {
    const CliResult general = run({"--help"});
    EXPECT_EQ(general.exitCode, 0);
    for (const char* command : {"create", "add", "import", "list", "picture", "export",
                                "export-all", "delete", "search", "info", "verify", "recover"}) {
        EXPECT_TRUE(general.out.contains(QStringLiteral("\n  %1 ").arg(command))) << command;
        const CliResult own = run({command, "--help"});
        EXPECT_EQ(own.exitCode, 0) << command;
        EXPECT_TRUE(
            own.out.startsWith(QStringLiteral("Utilisation : pictarium-cli %1").arg(command)))
            << own.out.toStdString();
    }
    // --help wins over anything else on the line.
    EXPECT_EQ(run({"search", "--nimporte", "--help"}).exitCode, 0);
    EXPECT_EQ(run({"search", Base, "chat", "--from", "0", "--help"}).out,
              run({"search", "--help"}).out);
}

TEST_F(CliCommandsTest, textAfterDoubleDashMayStartWithADash) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_EQ(
        run({"add", Base, writePicture("image.png", Qt::red), "--", "-- brouillon --"}).exitCode,
        0);
    EXPECT_TRUE(run({"list", Base}).out.endsWith("\t-- brouillon --\n"));
}

}  // namespace
}  // namespace pictarium::cli::test
