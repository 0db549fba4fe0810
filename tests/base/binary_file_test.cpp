#include "base/binary_file.h"
#include "base/file_operations.h"
#include "base/run_errors.h"
#include "tests/file_size_limit.h"
#include "tests/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace pictarium::test {
namespace {

// Public, for the table of failing steps to use.
class BinaryFileTest : public ::testing::Test {
public:
    QString path(const char* name) const { return mFolder.filePath(QLatin1String(name)); }
    QString written(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    static QByteArray contents(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

    QTemporaryDir mFolder;
};

TEST_F(BinaryFileTest, eachFailureOfTheSystemBecomesItsClassicNumberNamingTheFile) {
    const QByteArray block(1500, 'x');
    struct Case {
        const char* name;
        std::function<void(const BinaryFileTest&)> action;
        int number;
    };
    const QList<Case> cases{
        {"missing file",
         [](const BinaryFileTest& t) { (void)BinaryFile::openForReading(t.path("absent.bdp")); },
         RunError::FileNotFound},
        {"missing folder",
         [](const BinaryFileTest& t) { (void)BinaryFile::create(t.path("absent/new.bdp")); },
         RunError::PathNotFound},
        {"existing file made anew like another",
         [](const BinaryFileTest& t) {
             (void)BinaryFile::createLike(t.written("there.bdp", "x"), FileStatus{});
         },
         RunError::FileAlreadyExists},
        {"a write the disk takes only in part",
         [&block](const BinaryFileTest& t) {
             BinaryFile file = BinaryFile::create(t.path("short.bdp"));
             const FileSizeLimit full(1000);
             file.write(block.constData(), block.size());
         },
         RunError::DiskFull},
        {"a copy onto a full disk",
         [&block](const BinaryFileTest& t) {
             const BinaryFile source = BinaryFile::openForReading(t.written("source.bdp", block));
             BinaryFile target = BinaryFile::create(t.path("copy.bdp"));
             const FileSizeLimit full(1000);
             target.appendFrom(source, 0, source.size());
         },
         RunError::DiskFull},
        {"a read past the end",
         [](const BinaryFileTest& t) {
             char buffer[8];
             BinaryFile::openForReading(t.written("small.bdp", "1234")).readExactAt(0, buffer, 8);
         },
         RunError::InputPastEndOfFile},
        {"a rename onto a folder",
         [](const BinaryFileTest& t) {
             QDir(t.mFolder.path()).mkpath(QStringLiteral("folder/inside"));
             replaceFile(t.written("new.bdp", "new"), t.path("folder"));
         },
         RunError::PathFileAccessError},
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.name);
        try {
            failing.action(*this);
            ADD_FAILURE() << "no failure";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.number(), failing.number);
        }
    }
    // The rename that failed took nothing away.
    EXPECT_EQ(contents(path("new.bdp")), "new");
    EXPECT_TRUE(QFileInfo(path("folder/inside")).isDir());
}

TEST_F(BinaryFileTest, writesAndCopiesGoOnAfterWhatIsWritten) {
    const BinaryFile source = BinaryFile::openForReading(written("source.bdp", "0123456789"));
    // Made anew over a longer file: nothing of it is left.
    BinaryFile target = BinaryFile::create(written("target.bdp", "an older and longer file"));
    target.write("ab", 2);
    std::int64_t told = 0;
    target.appendFrom(source, 3, 4, [&told](std::int64_t copied) { told = copied; });
    target.write("z", 1);
    target.sync();
    EXPECT_EQ(contents(path("target.bdp")), "ab3456z");
    EXPECT_EQ(told, 4);

    BinaryFile over = BinaryFile::openForOverwriting(path("target.bdp"));
    over.write("XY", 2);
    over.truncateToWritten();
    EXPECT_EQ(contents(path("target.bdp")), "XY");
}

TEST_F(BinaryFileTest, aFileMadeLikeABaseIsNoMoreOpenThanIt) {
    const QString base = written("base.bdp", "base");
    ASSERT_TRUE(QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner));
    const std::optional<FileStatus> model = statusOf(base);
    ASSERT_TRUE(model);
    BinaryFile copy = BinaryFile::createLike(path("copy.tmp"), *model);
    EXPECT_EQ(copy.status().mode, model->mode);
    EXPECT_EQ(QFile::permissions(path("copy.tmp")) & 0x0077, 0);
}

TEST_F(BinaryFileTest, aReplacementIsWholeAcrossFileSystemsToo) {
    // /dev/shm is another file system than the temporary folder on most
    // machines; where it is not, this is a plain rename.
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/pictarium-XXXXXX"));
    const QString target = written("base.bdp", "old");
    for (const QString& folder : {mFolder.path(), elsewhere.path()}) {
        SCOPED_TRACE(folder.toStdString());
        const QString source = folder + QStringLiteral("/new.tmp");
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("new from " + folder.toUtf8()));
        file.close();
        replaceFile(source, target);
        EXPECT_EQ(contents(target), "new from " + folder.toUtf8());
        EXPECT_FALSE(QFile::exists(source));
        EXPECT_FALSE(QFile::exists(swapStagingPath(target)));
    }
}

}  // namespace
}  // namespace pictarium::test
