#include "tests/imaging/picture_file_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pictarium::test {

QString PictureFileTest::write(const QString& name, const QByteArray& bytes) {
    const QString path = mFolder.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

PictureReading PictureFileTest::readAs(const QString& name, const QByteArray& bytes) {
    return readPictureFile(write(name, bytes));
}

}  // namespace pictarium::test
