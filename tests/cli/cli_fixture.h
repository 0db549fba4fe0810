#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/qstring_printer.h"
#include "tests/stored_base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace pictarium::cli::test {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a copy of pictarium-cli that lives in a fresh folder of its own, so
// that the engine's temporary files of one test never meet another's.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override;

    CliResult run(const QStringList& arguments) const;
    // Starts a copy that runs beside the test and beside the others.
    [[nodiscard]] std::unique_ptr<QProcess> start(const QStringList& arguments) const;
    // Waits for a started copy to end.
    static CliResult finish(QProcess& process);
    [[nodiscard]] QString path(const QString& name) const;

    // A picture file of one colour, in the format the name's extension says.
    QString writePicture(const QString& name, const QColor& colour, int width = 4,
                         int height = 3) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;
    [[nodiscard]] QByteArray readFile(const QString& name) const;
    // The texts of the records of `base`, as list gives them.
    [[nodiscard]] QStringList listedTexts(const QString& base) const;
    // The engine's temporary files still present in the program's folder.
    [[nodiscard]] QStringList leftOverTemporaryFiles() const;

private:
    QTemporaryDir mFolder;
    QString mProgram;
};

using pictarium::test::int32At;
using pictarium::test::setInt32;
using pictarium::test::storedPicture;
using pictarium::test::StoredRecord;
using pictarium::test::storedText;
using pictarium::test::threeRecordBase;
using pictarium::test::wellFormedBase;

}  // namespace pictarium::cli::test
