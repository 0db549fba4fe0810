#include "imaging/picture_writer.h"
#include "tests/engine/engine_fixture.h"
#include "tests/engine/scripted_common_dialog.h"
#include "tests/file_size_limit.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

namespace pictarium::test {

namespace {

using Export = EngineTest;

int le16At(const QByteArray& bytes, int offset) {
    return static_cast<uchar>(bytes[offset]) | (static_cast<uchar>(bytes[offset + 1]) << 8);
}

QImage decoded(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

TEST_F(Export, bitmapsAreWrittenAtTwentyFourBitsWithoutPalette) {
    for (const QImage& picture :
         {colourReference(), monochromeReference(), sixteenColourReference()}) {
        writeBitmapFile(picture, basePath(QStringLiteral("out.bmp")));
        const QByteArray bytes = readAll(basePath(QStringLiteral("out.bmp")));
        ASSERT_GT(bytes.size(), 54);
        EXPECT_EQ(bytes.first(2), "BM");
        EXPECT_EQ(le16At(bytes, 14), 40);  // BITMAPINFOHEADER
        EXPECT_EQ(le16At(bytes, 28), 24);  // bits per pixel
        EXPECT_EQ(le16At(bytes, 10), 54);  // pixels right after the header
        EXPECT_EQ(largestDifference(decoded(basePath(QStringLiteral("out.bmp"))), picture), 0);
    }
}

// The name typed in the save box, completed by the filter picked when it
// has no extension, alone chooses the format. A name that lies about its
// content, or says nothing of it, is refused aloud rather than left
// unwritten in silence. A file already there is replaced without a question.
TEST_F(Export, theSavedNameChoosesTheFormat) {
    enum class Written { Bitmap, Jpeg, Png, Refused };
    struct Case {
        QString typed;
        int filter;  // 0 keeps the box's own
        QString saved;
        Written format;
    };
    ASSERT_TRUE(QDir(mDataFolder.path()).mkdir(QStringLiteral("jean.dupont")));
    ASSERT_TRUE(QDir(mDataFolder.path()).mkdir(QStringLiteral("my.pictures")));
    const QImage picture = colourReference();
    for (const Case& sample :
         {Case{"upper.BMP", 0, "upper.BMP", Written::Bitmap},
          Case{"lower.bmp", 3, "lower.bmp", Written::Bitmap},
          Case{"photo.Jpg", 0, "photo.Jpg", Written::Jpeg},
          Case{"photo.jpeg", 0, "photo.jpeg", Written::Jpeg},
          Case{"logo.PNG", 0, "logo.PNG", Written::Png},
          Case{"sans extension", 1, "sans extension.bmp", Written::Bitmap},
          Case{"jean.dupont/photo", 2, "jean.dupont/photo.jpg", Written::Jpeg},
          Case{"photo", 3, "photo.png", Written::Png},
          Case{"déjà.gif", 3, "déjà.gif", Written::Refused},
          Case{"nodotbmp", 9, "nodotbmp", Written::Refused},
          Case{"my.pictures/noextension", 9, "my.pictures/noextension", Written::Refused}}) {
        SCOPED_TRACE(sample.typed.toStdString());
        ScriptedCommonDialog dialog;
        dialog.typedName = basePath(sample.typed);
        dialog.chosenFilter = sample.filter;
        QString name = QStringLiteral("proposed.bmp");
        ASSERT_TRUE(mBase.gSaveFile(dialog, name));
        ASSERT_EQ(name, basePath(sample.saved));
        const QByteArray older(100000, 'x');
        writeAll(name, older);
        mHost.messages.clear();
        const bool saved = mBase.SaveFileInDsk(picture, name);
        if (sample.format == Written::Refused) {
            EXPECT_FALSE(saved);
            EXPECT_EQ(readAll(name), older);
            ASSERT_EQ(mHost.messages.size(), 1U);
            EXPECT_EQ(mHost.messages[0].text, QStringLiteral("Choisissez un nom en .bmp, .jpg ou "
                                                             ".png : l'image n'a pas été "
                                                             "enregistrée."));
            continue;
        }
        EXPECT_TRUE(saved);
        EXPECT_TRUE(mHost.messages.empty());
        const QByteArray bytes = readAll(name);
        EXPECT_LT(bytes.size(), older.size());
        if (sample.format == Written::Jpeg) {
            EXPECT_TRUE(bytes.startsWith(QByteArray("\xFF\xD8\xFF\xE0", 4)));
            EXPECT_EQ(bytes.sliced(6, 4), "JFIF");
            EXPECT_LE(largestDifference(decoded(name), picture, 8), 24);
            continue;
        }
        EXPECT_TRUE(bytes.startsWith(sample.format == Written::Png ? "\x89PNG" : "BM"));
        if (sample.format == Written::Bitmap) {
            EXPECT_EQ(le16At(bytes, 28), 24);  // bits per pixel, whatever the picture's
        }
        EXPECT_EQ(largestDifference(decoded(name), picture), 0);
    }
}

// A file that cannot be written is said, with the failure's number and the
// file's name; a full disk leaves the file that was there.
TEST_F(Export, aFileThatCannotBeWrittenIsSaidNamingIt) {
    EXPECT_FALSE(mBase.SaveFileInDsk(QImage(), basePath(QStringLiteral("empty.bmp"))));
    EXPECT_FALSE(QFile::exists(basePath(QStringLiteral("empty.bmp"))));
    EXPECT_TRUE(mHost.messages.empty());

    const QString kept = basePath(QStringLiteral("kept.png"));
    writeAll(kept, "an older file");
    const std::pair<QString, QString> failures[] = {
        {basePath(QStringLiteral("no/such/folder/x.bmp")), QStringLiteral("Erreur 76")},
        {kept, QStringLiteral("Erreur 61")},
    };
    for (const auto& [target, number] : failures) {
        SCOPED_TRACE(target.toStdString());
        mHost.messages.clear();
        bool saved = true;
        {
            const FileSizeLimit fullDisk(16);
            saved = mBase.SaveFileInDsk(colourReference(), target);
        }
        EXPECT_FALSE(saved);
        ASSERT_EQ(mHost.messages.size(), std::size_t{1});
        EXPECT_TRUE(mHost.messages.front().text.startsWith(number))
            << mHost.messages.front().text.toStdString();
        EXPECT_TRUE(mHost.messages.front().text.endsWith(target));
    }
    EXPECT_EQ(readAll(kept), "an older file");
}

// The box offers the three formats; cancelled, or failing at any step, it
// leaves the name as it was, and every step still runs.
TEST_F(Export, theSaveBoxOffersTheThreeFormatsAndCancelKeepsTheName) {
    ScriptedCommonDialog cancelled;
    ScriptedCommonDialog brokenTitle;
    brokenTitle.titleFails = true;
    brokenTitle.typedName = QStringLiteral("chosen.bmp");
    ScriptedCommonDialog unreadable;
    unreadable.fileNameReadFails = true;
    unreadable.typedName = QStringLiteral("chosen.bmp");
    for (ScriptedCommonDialog* dialog : {&cancelled, &brokenTitle, &unreadable}) {
        QString name = QStringLiteral("proposed.bmp");
        EXPECT_FALSE(mBase.gSaveFile(*dialog, name));
        EXPECT_EQ(name, "proposed.bmp");
        EXPECT_EQ(dialog->shown, std::vector<QString>{"save"});
    }
    EXPECT_EQ(cancelled.title, "Enregistrer l'image sous...");
    EXPECT_EQ(cancelled.flags, 2623500);
    EXPECT_TRUE(cancelled.cancelError);
    EXPECT_EQ(cancelled.filter, "Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg|PNG(*.png)|*.png");
    EXPECT_EQ(cancelled.filterIndex, 1);
    EXPECT_EQ(cancelled.fileName, "proposed.bmp");
    EXPECT_TRUE(mHost.messages.empty());
}

}  // namespace

}  // namespace pictarium::test
