#include "imaging/file_extensions.h"
#include "imaging/picture_reader.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace pictarium::test {

namespace {

using Outcome = PictureReading::Outcome;

TEST(GetFileExtensionTest, takesTheUpperCasedTextAfterTheLastDotOfTheWholeName) {
    EXPECT_EQ(GetFileExtension("Photo.Jpg"), "JPG");
    EXPECT_EQ(GetFileExtension("archive.tar.Tif"), "TIF");
    EXPECT_EQ(GetFileExtension("C:\\my.pictures\\scan"), "PICTURES\\SCAN");
    EXPECT_EQ(GetFileExtension("/home/me/my.pictures/scan"), "PICTURES/SCAN");
    EXPECT_EQ(GetFileExtension("scan"), "");
    EXPECT_EQ(GetFileExtension("trailing."), "");
}

TEST(ExtensionGroupTest, sixExtensionsGoToThePlatformLoaderAndTwentyNineToTheComponent) {
    for (const char* extension : {"BMP", "WMF", "EMF", "RLE", "ICO", "GIF"}) {
        EXPECT_EQ(extensionGroupOf(extension), ExtensionGroup::PlatformLoader) << extension;
    }
    for (const char* extension :
         {"JPG", "CMP", "JFF", "JTF", "TIF", "MPT", "TGA", "PCX", "DCX", "PIC",
          "CAL", "MAC", "IMG", "MSP", "ITG", "SMP", "PBM", "WPG", "RAS", "PCT",
          "PCD", "FPX", "EPS", "CUT", "PSD", "PNG", "CLP", "SGI", "SCT"}) {
        EXPECT_EQ(extensionGroupOf(extension), ExtensionGroup::ImagingComponent) << extension;
    }
    // What cameras and phones write today is read by content, as the
    // component's formats are.
    for (const char* extension : {"JPEG", "JPE", "JFIF", "TIFF", "WEBP", "HEIC", "HEIF", "AVIF"}) {
        EXPECT_EQ(extensionGroupOf(extension), ExtensionGroup::ImagingComponent) << extension;
    }
    for (const char* extension : {"PICTURES/SCAN", "", "TXT", "jpg", "BDP"}) {
        EXPECT_EQ(extensionGroupOf(extension), ExtensionGroup::Ignored) << extension;
    }
}

TEST(SampleCoverageTest, theSamplesCoverEveryAcceptedExtension) {
    std::set<QString> covered;
    for (const Sample& sample : allSamples()) {
        covered.insert(GetFileExtension(sample.fileName));
    }
    for (const auto& list : {std::vector<const char*>(PlatformLoaderExtensions.begin(),
                                                      PlatformLoaderExtensions.end()),
                             std::vector<const char*>(ImagingComponentExtensions.begin(),
                                                      ImagingComponentExtensions.end())}) {
        for (const char* extension : list) {
            EXPECT_TRUE(covered.count(extension)) << extension;
        }
    }
}

using ReaderGroupTest = PictureFileTest;

TEST_F(ReaderGroupTest, namesOutsideBothGroupsAreIgnoredWhateverTheyHold) {
    const QByteArray jpeg = writtenByQt(colourReference(), "jpeg");
    for (const QString name : {"photo.txt", "photo", "my.pictures/scan"}) {
        const PictureReading reading = readPictureFile(write(name, jpeg));
        EXPECT_EQ(reading.outcome, Outcome::Ignored) << name.toStdString();
        EXPECT_TRUE(reading.picture.isNull());
    }
}

TEST_F(ReaderGroupTest, todaysCameraNamesAreReadByTheirContent) {
    const QByteArray jpeg = writtenByQt(colourReference(), "jpeg");
    for (const QString name : {"photo.jpeg", "photo.JPE", "scan.TIFF"}) {
        const PictureReading reading = readPictureFile(write(name, jpeg));
        ASSERT_EQ(reading.outcome, Outcome::Loaded) << name.toStdString();
        EXPECT_EQ(reading.picture.size(), colourReference().size());
    }
}

TEST_F(ReaderGroupTest, theComponentReadsAnyFormatItKnowsWhateverTheExtension) {
    const PictureReading reading =
        readPictureFile(write("scan.tga", writtenByQt(colourReference(), "bmp")));
    ASSERT_EQ(reading.outcome, Outcome::Loaded);
    EXPECT_EQ(largestDifference(reading.picture, colourReference()), 0);
}

// The platform's loader knows bitmaps, icons, GIF, JPEG and metafiles only.
TEST_F(ReaderGroupTest, thePlatformLoaderRefusesFormatsItDoesNotKnow) {
    const PictureReading png =
        readPictureFile(write("logo.bmp", writtenByQt(colourReference(), "png")));
    EXPECT_EQ(png.outcome, Outcome::Refused);

    const PictureReading jpeg =
        readPictureFile(write("logo.gif", writtenByQt(colourReference(), "jpeg")));
    EXPECT_EQ(jpeg.outcome, Outcome::Loaded);
}

TEST_F(ReaderGroupTest, aFileThatCannotBeReadIsRefusedNamingIt) {
    const QString missing = mFolder.filePath("gone.tif");
    const PictureReading reading = readPictureFile(missing);
    EXPECT_EQ(reading.outcome, Outcome::Refused);
    EXPECT_EQ(refusalText(reading),
              QStringLiteral("L'image du fichier « %1 » ne peut pas être lue !")
                  .arg(QDir::toNativeSeparators(missing)));
}

TEST_F(ReaderGroupTest, foldersAndEmptyFilesAreRefused) {
    QDir(mFolder.path()).mkdir("album.bmp");
    EXPECT_EQ(readPictureFile(mFolder.filePath("album.bmp")).outcome, Outcome::Refused);
    EXPECT_EQ(readPictureFile(write("empty.png", {})).outcome, Outcome::Refused);
    EXPECT_EQ(readPictureFile(write("empty.gif", {})).outcome, Outcome::Refused);
}

}  // namespace

}  // namespace pictarium::test
