#include "tests/window/window_test_main.h"
#include "window/pointer_file_p.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace pictarium::test {

class PointerFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mFolder;

    QString pointerFile() const { return mFolder.filePath(QStringLiteral("default.tsi")); }

    void writeRaw(const QByteArray& bytes) const {
        QFile file(pointerFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray readRaw() const {
        QFile file(pointerFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // An existing file whose full path has exactly `length` bytes, in
    // nested folders since one name holds at most 255.
    QString existingPathOfLength(int length) const {
        QString path = mFolder.path() + QLatin1Char('/');
        while (length - path.size() > 200) {
            path += QString(150, QLatin1Char('d'));
            QDir().mkpath(path);
            path += QLatin1Char('/');
        }
        path += QString(length - path.size(), QLatin1Char('p'));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) ? path : QString();
    }

private slots:
    void cleanup() { QFile::remove(pointerFile()); }

    void readsThePathBeforeTheFirstNul() {
        const QString base = mFolder.filePath(QStringLiteral("a.bdp"));
        QVERIFY(QFile(base).open(QIODevice::WriteOnly));
        writeRaw(QFile::encodeName(base) + QByteArray("\0rest of an older path", 23));
        QCOMPARE(readPointerFile(pointerFile()), base);
    }

    void readsAtMost999BytesWithoutNul() {
        const QString path999 = existingPathOfLength(999);
        QVERIFY(!path999.isEmpty());
        writeRaw(QFile::encodeName(path999));
        QCOMPARE(readPointerFile(pointerFile()), path999);

        // With 1000 bytes and no NUL among them there is no path at all,
        // even when the first 999 name an existing file.
        writeRaw(QFile::encodeName(path999) + "x");
        QCOMPARE(readPointerFile(pointerFile()), QString());
    }

    void givesNothingForMissingEmptyOrStaleFiles() {
        QCOMPARE(readPointerFile(pointerFile()), QString());
        writeRaw(QByteArray());
        QCOMPARE(readPointerFile(pointerFile()), QString());
        writeRaw(QFile::encodeName(mFolder.filePath(QStringLiteral("gone.bdp"))));
        QCOMPARE(readPointerFile(pointerFile()), QString());
        QCOMPARE(readRaw().isEmpty(), false);  // a stale file is left alone
    }

    void writingReplacesTheWholeFile() {
        const QString longer = mFolder.filePath(QStringLiteral("a/much/longer/path/base.bdp"));
        const QString shorter = mFolder.filePath(QStringLiteral("b.bdp"));
        QVERIFY(writePointerFile(pointerFile(), longer));
        QVERIFY(writePointerFile(pointerFile(), shorter));
        QCOMPARE(readRaw(), QFile::encodeName(shorter));
    }
};

}  // namespace pictarium::test

#include "pointer_file_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::PointerFileTest)
