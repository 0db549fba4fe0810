#include "tests/cli/cli_fixture.h"

#include <QDateTime>
#include <QDir>

namespace pictarium::cli::test {
namespace {

const QString Base = QStringLiteral("base.bdp");

class CliBulkTest : public CliTest {
protected:
    // A picture whose every pixel differs from its neighbours.
    QString writeGradient(const QString& name, int width, int height) const {
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) * 3 % 256));
            }
        }
        EXPECT_TRUE(picture.save(path(name)));
        return name;
    }

    [[nodiscard]] QImage exported(const QString& base, int index) const {
        const QString name = QStringLiteral("vue-%1.png").arg(index);
        EXPECT_EQ(run({"export", base, QString::number(index), name}).exitCode, 0);
        return QImage(path(name)).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(CliBulkTest, addTakesManyPairsInOneRewriteOrNoneOfThem) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QString wide = writeGradient("large.png", 400, 100);
    const QString thin = writeGradient("fine.png", 3000, 2);
    const CliResult added = run({"add", Base, wide, "un", thin, "deux", "--fit", "200x150"});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(listedTexts(Base), (QStringList{"un", "deux"}));
    // Shrunk into the box, proportions kept; a thin strip keeps a row.
    EXPECT_EQ(exported(Base, 0).size(), QSize(200, 50));
    EXPECT_EQ(exported(Base, 1).size(), QSize(200, 1));

    const QByteArray before = readFile(Base);
    const CliResult missing = run({"add", Base, wide, "trois", "absente.png", "quatre"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Impossible de lire l'image « absente.png » : fichier introuvable.\n");
    const CliResult blank = run({"add", Base, wide, "trois", wide, "   "});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_EQ(blank.err, "Indiquez un texte svp !\nImage 2 (« large.png ») : rien n'est ajouté.\n");
    EXPECT_EQ(readFile(Base), before);
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty());

    for (const QStringList& wrong : {QStringList{"add", Base, wide, "trois", wide},
                                     {"add", Base, wide, "x", "--fit", "200"},
                                     {"add", Base, wide, "x", "--fit", "0x10"}}) {
        EXPECT_EQ(run(wrong).exitCode, 2) << wrong.join(u' ').toStdString();
    }
    EXPECT_EQ(readFile(Base), before);
}

TEST_F(CliBulkTest, importReadsAListAndNamesTheLineThatStopsIt) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_TRUE(QDir(path(".")).mkdir("photos"));
    writeGradient("photos/a.png", 6, 4);
    const QString absolute = path(writeGradient("b.bmp", 5, 5));
    writeFile("photos/liste.tsv",
              "\xEF\xBB\xBF"
              "a.png\tLa plage été\r\n\n" +
                  absolute.toUtf8() + "\tLe phare\ttab\n");
    const CliResult imported = run({"import", Base, "photos/liste.tsv"});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    // The engine keeps no byte below 32 of a text: the tab is dropped.
    EXPECT_EQ(listedTexts(Base), (QStringList{"La plage été", "Le pharetab"}));

    const QByteArray before = readFile(Base);
    struct Refusal {
        QByteArray list;
        QString message;
    };
    const std::vector<Refusal> refusals = {
        {"a.png\tbon\nmanque.png\tabsente\n",
         "photos/bad.tsv, ligne 2 : Impossible de lire l'image « " + path("photos/manque.png") +
             " » : fichier introuvable.\n"},
        {"a.png\tbon\n\na.png sans tabulation\n",
         "photos/bad.tsv, ligne 3 : le chemin de l'image et sa description doivent être séparés "
         "par une tabulation.\n"},
        {"\tsans chemin\n",
         "photos/bad.tsv, ligne 1 : le chemin de l'image et sa description doivent être séparés "
         "par une tabulation.\n"},
        {"a.png\tbon\na.png\t" + QByteArray(256, 'x') + "\n",
         "Le texte ne doit pas dépasser 255 caractères !\nphotos/bad.tsv, ligne 2 : rien n'est "
         "ajouté.\n"},
        {"\n\n", "La liste « photos/bad.tsv » ne nomme aucune image : rien n'est ajouté.\n"},
    };
    for (const Refusal& refusal : refusals) {
        writeFile("photos/bad.tsv", refusal.list);
        const CliResult refused = run({"import", Base, "photos/bad.tsv"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, refusal.message);
    }
    EXPECT_EQ(run({"import", Base, "photos/absente.tsv"}).err,
              "Impossible de lire la liste « photos/absente.tsv ».\n");
    EXPECT_EQ(readFile(Base), before);
}

// Each of delete, text, texts and move in one rewrite; a refusal, with the
// line that stops a list, writes nothing.
TEST_F(CliBulkTest, recordsAreDeletedCorrectedAndMovedInPlace) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QString picture = writeGradient("image.png", 4, 3);
    ASSERT_EQ(
        run({"add", Base, picture, "a", picture, "b", picture, "c", picture, "d", picture, "e"})
            .exitCode,
        0);
    EXPECT_EQ(run({"delete", Base, "3", "0"}).exitCode, 0);
    EXPECT_EQ(listedTexts(Base), (QStringList{"b", "c", "e"}));
    EXPECT_EQ(run({"move", Base, "2", "0"}).exitCode, 0);
    EXPECT_EQ(run({"text", Base, "1", "B corrigé"}).exitCode, 0);
    writeFile("textes.tsv",
              "\xEF\xBB\xBF"
              "0\tE corrigé\r\n\n2\tC corrigé\n");
    EXPECT_EQ(run({"texts", Base, "textes.tsv"}).exitCode, 0);
    EXPECT_EQ(listedTexts(Base), (QStringList{"E corrigé", "B corrigé", "C corrigé"}));

    const QByteArray before = readFile(Base);
    struct Refusal {
        QStringList arguments;
        QByteArray list;
        QString message;
    };
    const std::vector<Refusal> refusals = {
        {{"delete", Base, "1", "1"},
         {},
         "Un même index est donné deux fois : rien n'est supprimé.\n"},
        {{"delete", Base, "0", "3"}, {}, "Pas d'enregistrement d'index 3 : la base en compte 3.\n"},
        {{"move", Base, "0", "3"}, {}, "Pas d'enregistrement d'index 3 : la base en compte 3.\n"},
        {{"text", Base, "0", " "}, {}, "Indiquez un texte svp !\n"},
        {{"texts", Base, "bad.tsv"},
         "0\tbon\nzéro\tmauvais\n",
         "bad.tsv, ligne 2 : index incorrect « zéro » : un nombre entier de 0 ou plus est "
         "attendu.\n"},
        {{"texts", Base, "bad.tsv"},
         "0\tbon\n\n7\tabsent\n",
         "bad.tsv, ligne 3 : Pas d'enregistrement d'index 7 : la base en compte 3.\n"},
        {{"texts", Base, "bad.tsv"},
         "0\tbon\n1\t" + QByteArray(256, 'x') + "\n",
         "Le texte ne doit pas dépasser 255 caractères !\nbad.tsv, ligne 2 : rien n'est "
         "modifié.\n"},
        {{"texts", Base, "bad.tsv"},
         "0 sans tabulation\n",
         "bad.tsv, ligne 1 : l'index et la description doivent être séparés par une "
         "tabulation.\n"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.arguments.join(u' ').toStdString());
        writeFile("bad.tsv", refusal.list);
        const CliResult refused = run(refusal.arguments);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, refusal.message);
    }
    EXPECT_EQ(run({"move", Base, "0", "-1"}).exitCode, 2);
    EXPECT_EQ(run({"delete", Base}).exitCode, 2);
    EXPECT_EQ(readFile(Base), before);
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty());
}

// What delete takes, trash lists and restore puts back; --empty forgets it.
TEST_F(CliBulkTest, deletedRecordsWaitInTheTrashToBeRestored) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    const QString picture = writeGradient("image.png", 4, 3);
    ASSERT_EQ(run({"add", Base, picture, "a", picture, "b", picture, "c"}).exitCode, 0);
    const QByteArray whole = readFile(Base);
    ASSERT_EQ(run({"delete", Base, "2", "0"}).exitCode, 0);
    const QStringList lines = run({"trash", Base}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    for (const auto& [line, fields] :
         {std::pair{lines[0], QStringList{"1", "0", "1", "a"}}, {lines[1], {"2", "2", "1", "c"}}}) {
        const QStringList columns = line.split(u'\t');
        ASSERT_EQ(columns.size(), 6) << line.toStdString();
        EXPECT_EQ((QStringList{columns[0], columns[2], columns[3], columns[5]}), fields);
        EXPECT_TRUE(QDateTime::fromString(columns[1], Qt::ISODate).isValid());
    }
    EXPECT_EQ(run({"restore", Base, "3"}).err,
              "Pas d'enregistrement numéro 3 dans la corbeille : elle en compte 2.\n");
    EXPECT_EQ(run({"restore", Base, "2", "2"}).exitCode, 1);
    EXPECT_EQ(run({"restore", Base, "2", "1"}).exitCode, 0);
    EXPECT_EQ(readFile(Base), whole);

    ASSERT_EQ(run({"delete", Base, "1"}).exitCode, 0);
    EXPECT_EQ(run({"trash", Base, "--empty"}).exitCode, 0);
    EXPECT_EQ(run({"trash", Base}).out, "");
    EXPECT_EQ(listedTexts(Base), (QStringList{"a", "c"}));
}

TEST_F(CliBulkTest, exportAllThenImportGivesTheSameTextsAndPixels) {
    ASSERT_EQ(run({"create", Base}).exitCode, 0);
    ASSERT_EQ(run({"add", Base, writeGradient("a.png", 40, 30), "Château d'été",
                   writeGradient("b.png", 7, 300), "deux", writePicture("c.bmp", Qt::red), "3"})
                  .exitCode,
              0);
    ASSERT_TRUE(QDir(path(".")).mkpath("png"));
    writeFile("png/00001.png", "remplacé");
    for (const char* format : {"png", "bmp"}) {
        const QString folder = QString::fromLatin1(format);
        const CliResult saved = run({"export-all", Base, folder, "--format", format});
        ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
        EXPECT_EQ(
            QString::fromUtf8(readFile(folder + "/index.tsv")),
            QStringLiteral("00000.%1\tChâteau d'été\n00001.%1\tdeux\n00002.%1\t3\n").arg(folder));
        const QString copy = folder + ".bdp";
        ASSERT_EQ(run({"create", copy}).exitCode, 0);
        ASSERT_EQ(run({"import", copy, folder + "/index.tsv"}).exitCode, 0);
        EXPECT_EQ(listedTexts(copy), listedTexts(Base));
        for (int index = 0; index < 3; ++index) {
            EXPECT_EQ(exported(copy, index), exported(Base, index)) << format << index;
        }
    }
    EXPECT_EQ(run({"export-all", Base, "x", "--format", "gif"}).exitCode, 2);
    EXPECT_FALSE(QDir(path("x")).exists());
}

}  // namespace
}  // namespace pictarium::cli::test
