#include "tests/cli/cli_fixture.h"

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
