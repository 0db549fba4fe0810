#include "tests/cli/cli_fixture.h"
#include "tests/file_size_limit.h"

#include <QDir>

namespace pictarium::cli::test {
namespace {

const QString Base = QStringLiteral("base.bdp");

class CliCatalogueTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ASSERT_EQ(run({"create", "vide.bdp"}).exitCode, 0);
        const QStringList texts = {"Été à la plage", "un chat", "ÉTÉ indien", "ete", "Chaton"};
        QStringList arguments{"add", Base};
        for (int i = 0; i < texts.size(); ++i) {
            arguments << writePicture(QStringLiteral("%1.png").arg(i),
                                      QColor::fromHsv(i * 60, 255, 255))
                      << texts[i];
        }
        ASSERT_EQ(run({"create", Base}).exitCode, 0);
        ASSERT_EQ(run(arguments).exitCode, 0);
    }
    // The files the target left in its folder, a half-written one included.
    [[nodiscard]] QStringList filesNamed(const QString& target) const {
        const QFileInfo info(path(target));
        return QDir(info.path())
            .entryList({u'*' + info.fileName() + u'*'}, QDir::Files | QDir::Hidden);
    }
};

// Each record chosen is one picture in the PDF; a refusal writes no file.
TEST_F(CliCatalogueTest, choosesTheRecordsAsTheSearchDoesAndRefusesAnEmptyCatalogue) {
    struct Case {
        QStringList arguments;
        int exitCode;
        int pictures;
    };
    const QList<Case> cases{
        {{Base, "tout.pdf"}, 0, 5},
        {{Base, "ete.pdf", "--filter", "été"}, 0, 2},
        {{Base, "chat.pdf", "--filter", "CHAT", "--columns", "6"}, 0, 2},
        {{Base, "rien.pdf", "--filter", "chien"}, 1, 0},
        {{"vide.bdp", "vide.pdf"}, 1, 0},
        {{Base, "sept.pdf", "--columns", "7"}, 2, 0},
        {{Base, "une.pdf", "--columns", "1"}, 2, 0},
        {{Base, "deux.pdf", "--columns", "deux"}, 2, 0},
    };
    for (const Case& sample : cases) {
        SCOPED_TRACE(sample.arguments.join(u' ').toStdString());
        const CliResult result = run(QStringList{"catalogue"} + sample.arguments);
        EXPECT_EQ(result.exitCode, sample.exitCode);
        EXPECT_EQ(result.err.isEmpty(), sample.exitCode == 0);
        const QString target = sample.arguments[1];
        if (sample.pictures == 0) {
            EXPECT_EQ(filesNamed(target), QStringList());
            continue;
        }
        const QByteArray pdf = readFile(target);
        EXPECT_TRUE(pdf.startsWith("%PDF"));
        EXPECT_EQ(pdf.count("/Subtype /Image"), sample.pictures);
    }
}

TEST_F(CliCatalogueTest, aFailedWriteIsSaidNamingTheFileAndLeavesNothing) {
    const QByteArray base = readFile(Base);
    EXPECT_EQ(run({"catalogue", Base, Base}).exitCode, 1);
    EXPECT_EQ(readFile(Base), base);
    const QString missingFolder = QStringLiteral("absent/catalogue.pdf");
    const CliResult notThere = run({"catalogue", Base, missingFolder});
    EXPECT_EQ(notThere.exitCode, 1);
    EXPECT_EQ(notThere.err, "Erreur 76\nChemin d'accès introuvable : absent/catalogue.pdf\n");

    const pictarium::test::FileSizeLimit fullDisk(2000);
    const CliResult full = run({"catalogue", Base, "plein.pdf"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "Erreur 61\nDisque plein : plein.pdf\n");
    EXPECT_EQ(filesNamed("plein.pdf"), QStringList());
}

}  // namespace
}  // namespace pictarium::cli::test
