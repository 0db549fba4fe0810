// Every input that once broke a decoder or check, found by fuzzing, stays
// in tests/data/<target>/crashes with a test named after its fault.

#include "imaging/picture_completeness_p.h"

#include <QFile>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

QByteArray crashSample(const QString& name) {
    QFile file(QStringLiteral(PICTARIUM_TEST_DATA "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Width and bits per pixel read from a GIF as if it were a bitmap made the
// row size times the height overflow.
TEST(FuzzRegressionTest, bitmapRowSizeOverflow) {
    const QByteArray bytes = crashSample("picture_structure/crashes/bitmap-row-size-overflow");
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(isCompleteBitmap(bytes));
}

}  // namespace

}  // namespace pictarium::test
