#include "imaging/picture_reader.h"
#include "imaging/file_extensions.h"
#include "tests/imaging/picture_file_fixture.h"
#include "tests/imaging/sample_catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace pictarium::test {

namespace {

using PictureReaderTest = PictureFileTest;

using Outcome = PictureReading::Outcome;

TEST_F(PictureReaderTest, everySampleLoadsToItsPixelsOrIsRefused) {
    for (const Sample& sample : allSamples()) {
        SCOPED_TRACE(sample.fileName.toStdString());
        const QString path = write(sample.fileName, sample.bytes);
        const PictureReading reading = readPictureFile(path);
        if (sample.expected.isNull()) {
            EXPECT_EQ(reading.outcome, Outcome::Refused);
            EXPECT_TRUE(reading.picture.isNull());
            EXPECT_EQ(reading.path, path);
            continue;
        }
        ASSERT_EQ(reading.outcome, Outcome::Loaded);
        EXPECT_FALSE(reading.picture.hasAlphaChannel());
        EXPECT_EQ(reading.picture.size(), sample.expected.size());
        EXPECT_LE(largestDifference(reading.picture, sample.expected, sample.blockSize),
                  sample.tolerance);
    }
}

}  // namespace

}  // namespace pictarium::test
