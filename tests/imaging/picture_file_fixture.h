#pragma once

#include "imaging/picture_reader.h"

#include <QByteArray>
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
    QString write(const QString& name, const QByteArray& bytes);
    // Writes the file, then reads it as the add command does.
    PictureReading readAs(const QString& name, const QByteArray& bytes);

    QTemporaryDir mFolder;
};

}  // namespace pictarium::test
