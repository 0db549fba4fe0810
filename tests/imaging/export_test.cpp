#include "engine/class_dbp.h"
#include "imaging/picture_writer.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"
#include "tests/imaging/scripted_common_dialog.h"
#include "tests/recording_host.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int le16At(const QByteArray& bytes, int offset) {
    return static_cast<uchar>(bytes[offset]) | (static_cast<uchar>(bytes[offset + 1]) << 8);
}

QImage decoded(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

class ExportTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return mFolder.filePath(name); }

    QTemporaryDir mFolder;
    RecordingHost mHost{mFolder.path()};
    ClassDBP mBase{mHost};
};

TEST_F(ExportTest, bitmapsAreWrittenAtTwentyFourBitsWithoutPalette) {
    for (const QImage& picture :
         {colourReference(), monochromeReference(), sixteenColourReference()}) {
        writeBitmapFile(picture, path("out.bmp"));
        const QByteArray bytes = fileBytes(path("out.bmp"));
        ASSERT_GT(bytes.size(), 54);
        EXPECT_EQ(bytes.first(2), "BM");
        EXPECT_EQ(le16At(bytes, 14), 40);  // BITMAPINFOHEADER
        EXPECT_EQ(le16At(bytes, 28), 24);  // bits per pixel
        EXPECT_EQ(le16At(bytes, 10), 54);  // pixels right after the header
        EXPECT_EQ(largestDifference(decoded(path("out.bmp")), picture), 0);
    }
}

TEST_F(ExportTest, theExportQualityIsAGoodPhotoSetting) {
    EXPECT_EQ(jpegQualityOf(25), 85);
}

TEST_F(ExportTest, theNameAloneChoosesTheFormat) {
    const QImage picture = colourReference();
    for (const QString name : {"upper.BMP", "lower.bmp"}) {
        mBase.SaveFileInDsk(picture, path(name));
        EXPECT_EQ(fileBytes(path(name)).first(2), "BM") << name.toStdString();
        EXPECT_EQ(largestDifference(decoded(path(name)), picture), 0);
    }
    mBase.SaveFileInDsk(picture, path("photo.Jpg"));
    const QByteArray jpeg = fileBytes(path("photo.Jpg"));
    EXPECT_EQ(jpeg.first(4), QByteArray("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(jpeg.sliced(6, 4), "JFIF");
    EXPECT_LE(largestDifference(decoded(path("photo.Jpg")), picture, 8), 24);

    for (const QString name : {"photo.jpeg", "logo.PNG"}) {
        EXPECT_TRUE(mBase.SaveFileInDsk(picture, path(name)));
        EXPECT_LE(largestDifference(decoded(path(name)), picture, 8), 24) << name.toStdString();
    }
    EXPECT_EQ(fileBytes(path("logo.PNG")).first(4), "\x89PNG");
    EXPECT_EQ(largestDifference(decoded(path("logo.PNG")), picture), 0);
    EXPECT_TRUE(mHost.messages.empty());

    // A name that lies about its content, or says nothing of it, is refused
    // aloud rather than left unwritten in silence.
    for (const QString name : {"anim.gif", "nodotbmp", "my.pictures/noextension"}) {
        EXPECT_FALSE(mBase.SaveFileInDsk(picture, path(name)));
        EXPECT_FALSE(QFile::exists(path(name))) << name.toStdString();
    }
    ASSERT_EQ(mHost.messages.size(), 3U);
    EXPECT_EQ(mHost.messages.back().text,
              "Choisissez un nom en .bmp, .jpg ou .png : l'image n'a pas été enregistrée.");
}

TEST_F(ExportTest, savingReplacesAnExistingFileWithoutAsking) {
    QFile old(path("old.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    mBase.SaveFileInDsk(colourReference(), path("old.bmp"));
    EXPECT_EQ(largestDifference(decoded(path("old.bmp")), colourReference()), 0);
    EXPECT_LT(fileBytes(path("old.bmp")).size(), 100000);
    EXPECT_TRUE(mHost.messages.empty());
}

TEST_F(ExportTest, failuresAreSwallowedSilently) {
    mBase.SaveFileInDsk(QImage(), path("empty.bmp"));
    EXPECT_FALSE(QFile::exists(path("empty.bmp")));
    mBase.SaveFileInDsk(colourReference(), path("no/such/folder/x.bmp"));
    EXPECT_TRUE(mHost.messages.empty());
}

// What the user exports is what the base gave back: bitmap exact, JPEG close.
TEST_F(ExportTest, aPictureAddedToABaseExportsToItsPixels) {
    const QImage original = colourReference();
    ASSERT_TRUE(mBase.CreateBDP(path("album.bdp")));
    ASSERT_TRUE(mBase.OpenBDP(path("album.bdp")));
    ASSERT_TRUE(mBase.AddBDP(original, QStringLiteral("vacances")));
    const QImage shown = mHost.lastPicture;
    ASSERT_FALSE(shown.isNull());

    mBase.SaveFileInDsk(shown, path("export.bmp"));
    mBase.SaveFileInDsk(shown, path("export.jpg"));
    EXPECT_EQ(largestDifference(decoded(path("export.bmp")), original), 0);
    EXPECT_LE(largestDifference(decoded(path("export.jpg")), original, 8), 24);
}

TEST_F(ExportTest, theSaveBoxIsSetUpAndItsNameReturned) {
    ScriptedCommonDialog dialog;
    dialog.typedName = path("chosen.jpg");
    QString name = QStringLiteral("proposed.bmp");
    EXPECT_TRUE(mBase.gSaveFile(dialog, name));
    EXPECT_EQ(name, path("chosen.jpg"));
    EXPECT_EQ(dialog.title, "Enregistrer l'image sous...");
    EXPECT_EQ(dialog.flags, 2623500);
    EXPECT_TRUE(dialog.cancelError);
    EXPECT_EQ(dialog.filter, "Bitmap(*.bmp)|*.bmp|Jpg compliant(*.jpg)|*.jpg|PNG(*.png)|*.png");
    EXPECT_EQ(dialog.filterIndex, 1);
    EXPECT_EQ(dialog.shown, std::vector<QString>{"save"});
}

TEST_F(ExportTest, aTypedNameWithoutExtensionTakesThatOfTheFilterChosen) {
    struct Case {
        QString typed;
        int filter;
        QString returned;
    };
    for (const Case& sample :
         {Case{"/tmp/sans extension", 1, "/tmp/sans extension.bmp"},
          Case{"/home/jean.dupont/photo", 2, "/home/jean.dupont/photo.jpg"},
          Case{"photo", 3, "photo.png"}, Case{"/tmp/déjà.gif", 3, "/tmp/déjà.gif"},
          Case{"/tmp/photo", 9, "/tmp/photo"}}) {
        ScriptedCommonDialog dialog;
        dialog.typedName = sample.typed;
        dialog.chosenFilter = sample.filter;
        QString name = QStringLiteral("proposed.bmp");
        ASSERT_TRUE(mBase.gSaveFile(dialog, name));
        EXPECT_EQ(name, sample.returned);
    }
}

TEST_F(ExportTest, cancelOrAnyFailureLeavesTheNameAsItWas) {
    ScriptedCommonDialog cancelled;
    QString name = QStringLiteral("proposed.bmp");
    EXPECT_FALSE(mBase.gSaveFile(cancelled, name));
    EXPECT_EQ(cancelled.fileName, "proposed.bmp");
    EXPECT_EQ(name, "proposed.bmp");

    ScriptedCommonDialog brokenTitle;
    brokenTitle.titleFails = true;
    brokenTitle.typedName = QStringLiteral("chosen.bmp");
    EXPECT_FALSE(mBase.gSaveFile(brokenTitle, name));
    EXPECT_EQ(brokenTitle.shown.size(), 1u);  // the later steps still ran
    EXPECT_EQ(name, "proposed.bmp");

    ScriptedCommonDialog unreadable;
    unreadable.fileNameReadFails = true;
    unreadable.typedName = QStringLiteral("chosen.bmp");
    EXPECT_FALSE(mBase.gSaveFile(unreadable, name));
    EXPECT_EQ(name, "proposed.bmp");
    EXPECT_TRUE(mHost.messages.empty());
}

}  // namespace

}  // namespace pictarium::test
