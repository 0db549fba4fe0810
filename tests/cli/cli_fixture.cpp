#include "tests/cli/cli_fixture.h"

#include <QDir>
#include <QFile>

namespace pictarium::cli::test {

void CliTest::SetUp() {
    ASSERT_TRUE(mFolder.isValid());
    mProgram = path(QStringLiteral("pictarium-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PICTARIUM_CLI_PATH), mProgram));
}

CliResult CliTest::run(const QStringList& arguments) const {
    const std::unique_ptr<QProcess> process = start(arguments);
    return finish(*process);
}

std::unique_ptr<QProcess> CliTest::start(const QStringList& arguments) const {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(mFolder.path());
    // The trashes go to the user's data folder: this test's own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), mFolder.filePath(QStringLiteral("data")));
    process->setProcessEnvironment(environment);
    process->start(mProgram, arguments);
    return process;
}

CliResult CliTest::finish(QProcess& process) {
    // A process already seen to end counts as finished.
    const bool finished = process.state() == QProcess::NotRunning || process.waitForFinished(60000);
    EXPECT_TRUE(finished) << "pictarium-cli " << process.arguments().join(u' ').toStdString();
    if (!finished || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString CliTest::path(const QString& name) const {
    return mFolder.filePath(name);
}

QString CliTest::writePicture(const QString& name, const QColor& colour, int width,
                              int height) const {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    EXPECT_TRUE(picture.save(path(name)));
    return name;
}

void CliTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray CliTest::readFile(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList CliTest::listedTexts(const QString& base) const {
    QStringList texts;
    for (const QString& line :
         run({QStringLiteral("list"), base}).out.split(u'\n', Qt::SkipEmptyParts)) {
        texts.append(line.section(u'\t', 3));
    }
    return texts;
}

QStringList CliTest::leftOverTemporaryFiles() const {
    return QDir(mFolder.path())
        .entryList({QStringLiteral("bdptmp1.tmp"), QStringLiteral("bdpsave.tmp"),
                    QStringLiteral("bdptmp1.bmp")},
                   QDir::Files | QDir::Hidden);
}

}  // namespace pictarium::cli::test
