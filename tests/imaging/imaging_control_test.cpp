#include "imaging/imaging_control.h"
#include "base/run_errors.h"
#include "tests/imaging/library_samples.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/reference_pictures.h"
#include "tests/imaging/sample_catalog.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

class ImagingControlTest : public PictureFileTest {
protected:
    template <typename Operation>
    static int failureOf(Operation operation) {
        try {
            operation();
        } catch (const RunFailure& failure) {
            return failure.number();
        }
        return 0;
    }

    ImagingControl mControl;
};

TEST_F(ImagingControlTest, loadingMakesTheFilePictureHeldUntilTheHandleIsCleared) {
    EXPECT_TRUE(mControl.ImagePicture().isNull());
    mControl.LoadImage(write("scan.pcx", writtenByMagick(colourReference(), "PCX")), 0, 0, 1);
    EXPECT_EQ(largestDifference(mControl.ImagePicture(), colourReference()), 0);
    mControl.setImageHandle(0);
    EXPECT_TRUE(mControl.ImagePicture().isNull());
}

TEST_F(ImagingControlTest, loadFailuresCarryTheClassicNumbers) {
    EXPECT_EQ(failureOf([&] { mControl.LoadImage(mFolder.filePath("gone.pcx"), 0, 0, 1); }),
              RunError::FileNotFound);
    EXPECT_EQ(failureOf([&] { mControl.LoadImage(mFolder.path(), 0, 0, 1); }),
              RunError::PathFileAccessError);
    EXPECT_EQ(failureOf([&] { mControl.LoadImage(write("text.pcx", "plain text"), 0, 0, 1); }),
              RunError::InvalidPicture);
    EXPECT_TRUE(mControl.ImagePicture().isNull());
}

// Formats without a signature are known by the extension alone.
TEST_F(ImagingControlTest, targaIsReadAsTargaOnlyUnderItsOwnExtension) {
    const QByteArray targa = writtenByMagick(colourReference(), "TGA");
    EXPECT_EQ(failureOf([&] { mControl.LoadImage(write("targa.sgi", targa), 0, 0, 1); }),
              RunError::InvalidPicture);
    mControl.LoadImage(write("targa.tga", targa), 0, 0, 1);
    EXPECT_EQ(largestDifference(mControl.ImagePicture(), colourReference()), 0);
}

TEST_F(ImagingControlTest, convertingToTwentyFourBitsMakesAnyPictureTrueColour) {
    mControl.TakePicture(monochromeReference());
    EXPECT_EQ(mControl.ImageBits(), 1);
    mControl.ConvertColorDepth(24, 4, 0, 0);
    EXPECT_EQ(mControl.ImageBits(), 24);
    EXPECT_EQ(largestDifference(mControl.ImagePicture(), monochromeReference()), 0);

    mControl.TakePicture(transparentReference());
    EXPECT_EQ(mControl.ImageBits(), 32);
    mControl.ConvertColorDepth(24, 4, 0, 0);
    EXPECT_EQ(mControl.ImageBits(), 24);
    EXPECT_LE(largestDifference(mControl.ImagePicture(), transparentReferenceOnWhite()), 1);
}

TEST_F(ImagingControlTest, operationsRefuseWhatTheyCannotDo) {
    EXPECT_EQ(failureOf([&] { mControl.TakePicture(QImage()); }), RunError::InvalidPicture);
    EXPECT_EQ(failureOf([&] { mControl.ConvertColorDepth(24, 4, 0, 0); }),
              RunError::InvalidPicture);
    EXPECT_EQ(failureOf([&] { mControl.SaveImage(mFolder.filePath("x.bmp"), 6, 24, -2, 0); }),
              RunError::InvalidPicture);
    mControl.TakePicture(colourReference());
    EXPECT_EQ(failureOf([&] { mControl.ConvertColorDepth(8, 4, 0, 0); }),
              RunError::InvalidProcedureCall);
    EXPECT_EQ(failureOf([&] { mControl.SaveImage(mFolder.filePath("x.gif"), 7, 0, 0, 0); }),
              RunError::InvalidProcedureCall);
    EXPECT_EQ(failureOf([&] { mControl.setImageHandle(1); }), RunError::InvalidPropertyValue);
    EXPECT_EQ(
        failureOf([&] { mControl.SaveImage(mFolder.filePath("missing/x.bmp"), 6, 24, -2, 0); }),
        RunError::PathFileAccessError);
    EXPECT_FALSE(QFile::exists(mFolder.filePath("x.gif")));
}

}  // namespace

}  // namespace pictarium::test
