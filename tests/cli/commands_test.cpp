#include "imaging/metafile/emf_reader.h"
#include "tests/cli/cli_fixture.h"

#include <QFile>
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
    // Three records, each from a picture file of another format: a TIFF
    // goes through the imaging component, the others through the
    // platform's loader.
    void addThreeRecords() {
        ASSERT_EQ(run({"add", Base, writePicture("rouge.tif", Qt::red), "Un chat noir"}).exitCode,
                  0);
        ASSERT_EQ(
            run({"add", Base, writePicture("bleu.bmp", Qt::blue, 5, 2), "Le Chien été"}).exitCode,
            0);
        ASSERT_EQ(run({"add", Base, writePicture("vert.jpg", Qt::green), "oiseau"}).exitCode, 0);
    }
};

TEST_F(CliCommandsTest, createAddListPictureSearchInfoRoundTrip) {
    const CliResult created = run({"create", Base});
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_EQ(created.err, "");

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
    EXPECT_EQ(QImage(path("sortie.bmp")).pixelColor(4, 1), QColor(Qt::blue));
    EXPECT_EQ(run({"export", Base, "0", "copie.png"}).exitCode, 0);
    EXPECT_EQ(QImage(path("copie.png")).pixelColor(2, 1), QColor(Qt::red));

    EXPECT_EQ(run({"search", Base, "chien", "--from", "0"}).out, "1\n");
    EXPECT_EQ(run({"search", Base, "chat", "--from", "2", "--backward"}).out, "0\n");

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

    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty())
        << leftOverTemporaryFiles().join(u' ').toStdString();
}

// Metafile text is drawn with the machine's fonts: the command line must
// not leave it out where the window would show it.
TEST_F(CliCommandsTest, metafilesAreAddedWithTheirText) {
    QFile seed(QStringLiteral(PICTARIUM_TEST_DATA "/emf/seeds/text.emf"));
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    const QByteArray text = seed.readAll();
    writeFile("text.emf", text);
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_EQ(run({"add", Base, "text.emf", "texte"}).exitCode, 0);
    ASSERT_EQ(run({"export", Base, "0", "copie.bmp"}).exitCode, 0);
    EXPECT_EQ(QImage(path("copie.bmp"), "BMP").convertToFormat(QImage::Format_RGB32),
              pictarium::decodeEnhancedMetafile(text));
}

// The engine asks before replacing a file; the command line answers No
// unless told --yes.
TEST_F(CliCommandsTest, createReplacesAFileOnlyWhenToldYes) {
    writeFile(Base, "not replaced");
    EXPECT_EQ(run({"create", Base}).exitCode, 1);
    EXPECT_EQ(readFile(Base), "not replaced");
    EXPECT_EQ(run({"create", Base, "--yes"}).exitCode, 0);
    EXPECT_EQ(run({"verify", Base}).exitCode, 0);
}

// A refusal, the engine's or the command line's own, exits with 1, prints
// nothing on the standard output and says why on the error output.
TEST_F(CliCommandsTest, refusalsSayWhyAndChangeNothing) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_NO_FATAL_FAILURE(addThreeRecords());
    writeFile("autre.bdp", "GIF89a, pas une base");
    ASSERT_EQ(run({"create", "vide.bdp"}).exitCode, 0);
    const QString picture = writePicture("image.png", Qt::red);
    writeFile("pas-une-image.png", "ceci n'est pas une image");
    ASSERT_TRUE(QFile::copy(path(picture), path("notes.txt")));
    const QByteArray before = readFile(Base);

    struct Refusal {
        QStringList arguments;
        QString message;
    };
    const QList<Refusal> refusals{
        {{"add", Base, picture, "   "}, "Indiquez un texte svp !\n"},
        {{"add", "absente.bdp", picture, "chat"}, "Fichier introuvable !\n"},
        {{"add", Base, "pas-une-image.png", "chat"},
         "L'image du fichier « pas-une-image.png » ne peut pas être lue !\n"},
        {{"add", Base, "notes.txt", "chat"},
         "« notes.txt » n'a pas l'extension d'une image reconnue : rien n'est ajouté.\n"},
        {{"add", Base, "absente.png", "chat"},
         "Impossible de lire l'image « absente.png » : fichier introuvable.\n"},
        {{"list", "autre.bdp"},
         "Ce fichier n'est pas un fichier Pictarium, ouverture impossible !\n"},
        {{"info", "base.txt"}, "nom de base incorrect !\n"},
        {{"picture", Base, "19", "sortie.bmp"},
         "Pas d'enregistrement d'index 19 : la base en compte 3.\n"},
        {{"search", Base, "chat", "--from", "2"}, "Dernier enregistrement !\n"},
        {{"delete", "vide.bdp", "0"}, "Il n'ya rien à supprimer !\n"},
        {{"export", Base, "0", "copie.gif"},
         "Choisissez un nom en .bmp, .jpg ou .png : l'image n'a pas été enregistrée.\n"},
        {{"export", Base, "0", "absent/copie.png"},
         "Erreur 76\nChemin d'accès introuvable : absent/copie.png\n"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.arguments.join(u' ').toStdString());
        const CliResult result = run(refusal.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, refusal.message);
    }
    EXPECT_EQ(readFile(Base), before);
    EXPECT_FALSE(QFile::exists(path("sortie.bmp")));
    EXPECT_FALSE(QFile::exists(path("copie.gif")));
}

TEST_F(CliCommandsTest, recordWithDamagedPictureIsListedReportedWhenShownAndCanBeDeleted) {
    QByteArray damaged = storedPicture(Qt::red);
    setInt32(damaged, 25, 7);  // bits per pixel: no bitmap has 7
    writeFile(Base, wellFormedBase({{storedText("chat"), storedPicture(Qt::red)},
                                    {storedText("un chat"), damaged},
                                    {storedText("chien"), storedPicture(Qt::blue)}}));

    // The list reads texts, not pictures: every record is listed.
    const CliResult listed = run({"list", Base});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(listedTexts(Base), (QStringList{"chat", "un chat", "chien"}));

    // The hit is found but cannot be shown: no index is printed.
    const CliResult searched = run({"search", Base, "chat", "--from", "0"});
    EXPECT_EQ(searched.exitCode, 1);
    EXPECT_EQ(searched.out, "");
    EXPECT_EQ(searched.err, CorruptMessage);

    // Its picture need not be shown to delete it.
    EXPECT_EQ(run({"picture", Base, "1", "out.bmp"}).exitCode, 1);
    EXPECT_EQ(run({"delete", Base, "1"}).exitCode, 0);
    EXPECT_EQ(listedTexts(Base), (QStringList{"chat", "chien"}));
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
