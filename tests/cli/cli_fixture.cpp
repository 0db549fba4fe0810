#include "tests/cli/cli_fixture.h"

#include <QBuffer>
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

QStringList CliTest::leftOverTemporaryFiles() const {
    return QDir(mFolder.path())
        .entryList({QStringLiteral("bdptmp1.tmp"), QStringLiteral("bdpsave.tmp"),
                    QStringLiteral("bdptmp1.bmp")},
                   QDir::Files | QDir::Hidden);
}

std::int32_t int32At(const QByteArray& bytes, qsizetype offset) {
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes.at(offset + byte));
    }
    return static_cast<std::int32_t>(value);
}

void setInt32(QByteArray& bytes, qsizetype offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) {
        bytes[offset + byte] = static_cast<char>((bits >> (8 * byte)) & 0xFF);
    }
}

namespace {

QByteArray int32Bytes(std::int32_t value) {
    QByteArray bytes(4, '\0');
    setInt32(bytes, 0, value);
    return bytes;
}

}  // namespace

QByteArray wellFormedBase(const QList<StoredRecord>& records) {
    QByteArray index;
    QByteArray data;
    std::int32_t textOffset = 8;
    for (const StoredRecord& record : records) {
        const auto textLength = static_cast<std::int32_t>(record.text.size());
        const auto picLength = static_cast<std::int32_t>(record.picture.size());
        index += int32Bytes(textOffset + textLength) + int32Bytes(picLength) +
                 int32Bytes(textOffset) + int32Bytes(textLength);
        data += record.text + record.picture;
        textOffset += textLength + picLength;
    }
    return QByteArray::fromHex("24147106") + int32Bytes(static_cast<std::int32_t>(records.size())) +
           index + data;
}

QByteArray storedText(const QByteArray& ascii) {
    QByteArray stored = ascii;
    for (char& byte : stored) {
        byte = static_cast<char>(static_cast<std::uint8_t>(byte) + 127);
    }
    return stored;
}

QByteArray storedPicture(const QColor& colour) {
    QImage picture(2, 2, QImage::Format_RGB888);
    picture.fill(colour);
    QByteArray bitmapFile;
    QBuffer buffer(&bitmapFile);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, "BMP"));
    return bitmapFile.mid(3);
}

}  // namespace pictarium::cli::test
