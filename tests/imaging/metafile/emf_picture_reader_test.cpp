#include "engine/class_dbp.h"
#include "imaging/metafile/emf_reader.h"
#include "imaging/picture_reader.h"
#include "tests/imaging/metafile/emf_samples.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/recording_host.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

class EmfPictureReaderTest : public PictureFileTest {
protected:
    QTemporaryDir mProgramFolder;
};

bool hasColour(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != qRgb(255, 255, 255)) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(EmfPictureReaderTest, metafilesOfEveryKindLoadAndComeBackFromABase) {
    RecordingHost host(mProgramFolder.path());
    ClassDBP base(host);
    const QString basePath = mFolder.filePath(QStringLiteral("base.bdp"));
    ASSERT_TRUE(base.CreateBDP(basePath));
    ASSERT_TRUE(base.OpenBDP(basePath));
    for (const EmfSample& sample : emfSamplesOfEveryKind()) {
        SCOPED_TRACE(sample.name.toStdString());
        const PictureReading reading = readPictureFile(write(sample.name, sample.bytes));
        ASSERT_EQ(reading.outcome, PictureReading::Outcome::Loaded);
        EXPECT_EQ(reading.picture.size(), QSize(120, 80));
        EXPECT_TRUE(hasColour(reading.picture));
        EXPECT_EQ(reading.picture.convertToFormat(QImage::Format_RGB32),
                  decodeEnhancedMetafile(sample.bytes));

        ASSERT_TRUE(base.AddBDP(reading.picture, sample.name));
        EXPECT_EQ(host.lastText, sample.name);
        EXPECT_EQ(host.lastPicture.convertToFormat(QImage::Format_RGB32),
                  reading.picture.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(EmfPictureReaderTest, aBrokenMetafileIsRefusedLikeAnyUnreadablePicture) {
    QByteArray cut = emfSamplesOfEveryKind().first().bytes;
    cut.chop(1);
    const QString path = write(QStringLiteral("cut.emf"), cut);
    const PictureReading reading = readPictureFile(path);
    EXPECT_EQ(reading.outcome, PictureReading::Outcome::Refused);
    EXPECT_EQ(reading.path, path);
}

}  // namespace

}  // namespace pictarium::test
