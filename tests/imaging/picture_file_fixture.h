#pragma once

#include "imaging/picture_reader.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "tests/qstring_printer.h"

#include <gtest/gtest.h>

namespace pictarium::test {

// A folder where a test writes picture files and reads them back.
class PictureFileTest : public ::testing::Test {
protected:
    // Writes `bytes` as the file `name` of the folder, subfolders included,
    // and gives its path.
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = mFolder.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }
    // Writes the file, then reads it as the add command does.
    PictureReading readAs(const QString& name, const QByteArray& bytes) {
        return readPictureFile(write(name, bytes));
    }

    QTemporaryDir mFolder;
};

}  // namespace pictarium::test
