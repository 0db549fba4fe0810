#include "emf_samples.h"
#include "imaging/emf/emf_reader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace pictarium::test {

namespace {

const QDir samples(QStringLiteral(PICTARIUM_EMF_SAMPLES));

QByteArray sampleBytes(const QString& relativePath) {
    QFile file(samples.filePath(relativePath));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath.toStdString();
    return file.readAll();
}

TEST(EmfSeedsTest, theFuzzerSeedsAreReadableMetafiles) {
    const QStringList seeds =
        QDir(samples.filePath(QStringLiteral("seeds"))).entryList(QDir::Files);
    EXPECT_GE(seeds.size(), emfSamplesOfEveryKind().size());
    for (const QString& seed : seeds) {
        EXPECT_FALSE(decodeEnhancedMetafile(sampleBytes(QStringLiteral("seeds/") + seed)).isNull())
            << seed.toStdString();
    }
}

}  // namespace

}  // namespace pictarium::test
