#include "base/file_lock.h"
#include "base/run_errors.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

// The other program is util-linux's flock(1): it takes the same advisory
// lock as ours, so each side sees the other as a separate process would.

namespace pictarium::test {
namespace {

using namespace std::chrono_literals;

class FileLockTest : public ::testing::Test {
protected:
    // Starts another program that holds the lock of `path` until it is
    // let go, and waits until it holds it.
    void holdElsewhere(const QString& path) {
        mHolder.start(QStringLiteral("flock"), {QStringLiteral("-x"), path, QStringLiteral("-c"),
                                                QStringLiteral("echo held; read line")});
        ASSERT_TRUE(mHolder.waitForReadyRead(10000)) << "flock(1) did not take the lock";
    }
    // The holder ends, and its lock with it, when its input does.
    void releaseElsewhere() {
        mHolder.closeWriteChannel();
        ASSERT_TRUE(mHolder.waitForFinished(10000));
    }
    // Whether another program could take even a shared lock of `path` at
    // once: only an exclusive lock keeps it out.
    static bool freeElsewhere(const QString& path) {
        return QProcess::execute(
                   QStringLiteral("flock"),
                   {QStringLiteral("-n"), QStringLiteral("-s"), path, QStringLiteral("true")}) == 0;
    }

    QTemporaryDir mFolder;
    QString mPath = mFolder.filePath(QStringLiteral("base.lock"));
    QProcess mHolder;
};

TEST_F(FileLockTest, anotherProgramsLockMakesUsWaitThenGive) {
    holdElsewhere(mPath);
    int waits = 0;
    EXPECT_FALSE(FileLock::lockFile(mPath, 200ms, [&waits] { ++waits; }));
    EXPECT_GT(waits, 0);
    releaseElsewhere();
    const std::optional<FileLock> lock = FileLock::lockFile(mPath, 200ms, {});
    ASSERT_TRUE(lock);
    EXPECT_TRUE(lock->isHeld());
}

TEST_F(FileLockTest, ourLockKeepsOthersOutUntilItGoes) {
    {
        std::optional<FileLock> lock = FileLock::lockFile(mPath, 0ms, {});
        ASSERT_TRUE(lock);
        EXPECT_FALSE(freeElsewhere(mPath));
        // Moved, it is still held, and let go once.
        FileLock moved = std::move(*lock);
        lock.reset();
        EXPECT_FALSE(freeElsewhere(mPath));
    }
    EXPECT_TRUE(freeElsewhere(mPath));
}

TEST_F(FileLockTest, aWaitCanBeStoppedByTheOneWaiting) {
    holdElsewhere(mPath);
    struct Stop {};
    EXPECT_THROW((void)FileLock::lockFile(mPath, 10s, [] { throw Stop{}; }), Stop);
    releaseElsewhere();
}

TEST_F(FileLockTest, theLockOfAFileFollowsItsReplacementByRename) {
    const QString other = mFolder.filePath(QStringLiteral("new.bdp"));
    QFile(mPath).open(QIODevice::WriteOnly);
    QFile(other).open(QIODevice::WriteOnly);
    std::optional<FileLock> lock = FileLock::lockFileAt(mPath, 0ms, {});
    ASSERT_TRUE(lock);
    EXPECT_TRUE(lock->holdsFileAt(mPath));
    ASSERT_TRUE(QFile::remove(mPath) && QFile::rename(other, mPath));
    // Still the old file's lock: the name now holds another file.
    EXPECT_FALSE(lock->holdsFileAt(mPath));
    EXPECT_TRUE(freeElsewhere(mPath));
}

TEST_F(FileLockTest, theNoteOfALockFileIsReplacedWhole) {
    std::optional<FileLock> lock = FileLock::lockFile(mPath, 0ms, {});
    ASSERT_TRUE(lock);
    lock->replaceContents("overwriting /a/long/name.bdp");
    lock->replaceContents("short");
    EXPECT_EQ(lock->contents(), "short");
    EXPECT_EQ(lock->contents(3), "sho");
}

TEST_F(FileLockTest, aLockFileThatCannotBeMadeIsAFailureNamingIt) {
    const QString path = mFolder.filePath(QStringLiteral("missing/folder.lock"));
    try {
        (void)FileLock::lockFile(path, 0ms, {});
        ADD_FAILURE() << "no failure";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.number(), RunError::PathNotFound);
        EXPECT_EQ(failure.detail(), path);
    }
}

}  // namespace
}  // namespace pictarium::test
