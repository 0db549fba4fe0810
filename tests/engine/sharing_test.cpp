// One base, several users: another program's changes, locks held by others,
// rights on the base and its copies, a rewrite stopped halfway, what a
// crash leaves behind.

#include "base/binary_file.h"
#include "base/file_lock.h"
#include "engine/base_verifier.h"
#include "tests/engine/engine_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictarium::test {
namespace {

using Sharing = EngineTest;

const QString kChanged =
    QStringLiteral("La base a été modifiée par un autre programme : elle est rouverte.");
const QString kBusy = QStringLiteral(
    "La base est en cours de modification par un autre programme. Réessayez dans un instant.");

std::uint32_t modeOf(const QString& path) {
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    return status.st_mode & 0777;
}

bool isSoundBase(const QString& path, std::int32_t records) {
    const BinaryFile file = BinaryFile::openForReading(path);
    BaseVerifier verifier(file);
    return verifier.verify().isEmpty() && verifier.recordCount() == records;
}

// Another program, with an engine and a folder of its own, opens the base
// at `path` and changes it.
template <typename Change>
void elsewhere(const QString& path, Change change) {
    QTemporaryDir folder;
    RecordingHost other(folder.path());
    ClassDBP base(other);
    ASSERT_TRUE(base.OpenBDP(path));
    change(base);
}

// Runs as an ordinary user for the length of its scope when the tests run
// as root, for whom every file is writable.
class OrdinaryUser {
public:
    static constexpr unsigned Nobody = 65534;

    OrdinaryUser() {
        if (::geteuid() != 0) {
            return;
        }
        mGroups.resize(static_cast<std::size_t>(::getgroups(0, nullptr)));
        mGroups.resize(static_cast<std::size_t>(
            ::getgroups(static_cast<int>(mGroups.size()), mGroups.data())));
        mChanged = ::setgroups(0, nullptr) == 0 && ::setegid(Nobody) == 0 && ::seteuid(Nobody) == 0;
    }
    ~OrdinaryUser() {
        if (mChanged) {
            (void)::seteuid(0);
            (void)::setegid(0);
            (void)::setgroups(mGroups.size(), mGroups.data());
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    std::vector<gid_t> mGroups;
    bool mChanged = false;
};

// Another program adds a record while this engine shows one: whatever this
// engine does next, it notices, says so and starts again from the new base.
// (An add refused on a changed base, then carried out on the fresh one, is
// tried against a real other process in the command line's tests.)
TEST_F(Sharing, AnotherProgramsChangeIsNoticedAndTheBaseReopened) {
    const QString path = openBaseWith(3);
    ASSERT_TRUE(mBase.MoveNext());
    elsewhere(path, [](ClassDBP& other) {
        ASSERT_TRUE(other.AddBDP(picture(9), QStringLiteral("from elsewhere")));
    });
    mHost.take();
    EXPECT_FALSE(mBase.MoveNext());
    const Log log = mHost.take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "Box[info|Tessaline Pictarium] " + kChanged.toStdString());
    EXPECT_EQ(mBase.recordCount(), 4);
    EXPECT_EQ(mBase.currentIndex(), 0);
    EXPECT_EQ(mHost.lastText, QStringLiteral("record 0"));
}

// A base overwritten in place by some other tool, same size and all, is
// noticed too, and a delete does not rebuild from the stale view.
TEST_F(Sharing, ADeleteNeverRebuildsFromAStaleBase) {
    const QString path = openBaseWith(2);
    const QString elsewhere = buildBase(3, QStringLiteral("other.bdp"));
    writeAll(path, readAll(elsewhere));
    mHost.messages.clear();
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_EQ(mHost.messages.front().text, kChanged);
    EXPECT_EQ(readAll(path), readAll(elsewhere));
    EXPECT_EQ(mBase.recordCount(), 3);
}

TEST_F(Sharing, ARewriteWaitsForAnotherProgramsLockThenGivesUpSayingWhy) {
    const QString path = openBaseWith(2);
    const QByteArray before = readAll(path);
    mHost.patience = std::chrono::milliseconds(150);
    std::optional<FileLock> held =
        FileLock::lockFileAt(path, std::chrono::milliseconds::zero(), {});
    ASSERT_TRUE(held);
    EXPECT_FALSE(mBase.AddBDP(picture(1), QStringLiteral("waits")));
    EXPECT_FALSE(mBase.DeleteBDP());
    ASSERT_EQ(mHost.messages.size(), 2U);
    EXPECT_EQ(mHost.messages[0].text, kBusy);
    EXPECT_EQ(mHost.messages[1].text, kBusy);
    EXPECT_EQ(readAll(path), before);
    EXPECT_FALSE(mHost.mBusy);
    EXPECT_GT(mHost.progressReports, 0);  // the wait is told, so a window stays alive
    held.reset();
    EXPECT_TRUE(mBase.AddBDP(picture(1), QStringLiteral("after")));
}

TEST_F(Sharing, AReservedBaseIsChangedByItsOwnEngineOnly) {
    const QString path = buildBase(1);
    ASSERT_TRUE(mBase.ReserveBDP(path));
    ASSERT_TRUE(mBase.OpenBDP(path));
    EXPECT_TRUE(mBase.AddBDP(picture(1), QStringLiteral("mine")));

    QTemporaryDir otherFolder;
    RecordingHost other(otherFolder.path());
    other.patience = std::chrono::milliseconds(100);
    ClassDBP otherBase(other);
    EXPECT_FALSE(otherBase.ReserveBDP(path));
    ASSERT_TRUE(otherBase.OpenBDP(path));
    EXPECT_FALSE(otherBase.AddBDP(picture(2), QStringLiteral("theirs")));
    EXPECT_EQ(other.messages.back().text, kBusy);
    EXPECT_TRUE(isSoundBase(path, 2));
}

TEST_F(Sharing, AStoppedRewriteLeavesTheBaseAsItWas) {
    const QString path = openBaseWith(3);
    const QByteArray before = readAll(path);
    mHost.onProgress = [](LongOperation, std::int64_t done, std::int64_t) { return done == 0; };
    EXPECT_FALSE(mBase.AddBDP(picture(1, 64, 64), QStringLiteral("stopped")));
    ASSERT_TRUE(mBase.MoveNext());
    EXPECT_FALSE(mBase.DeleteBDP());
    EXPECT_TRUE(mHost.messages.empty());
    EXPECT_EQ(readAll(path), before);
    EXPECT_FALSE(tempFilesLeft());
    EXPECT_FALSE(mHost.mBusy);
    EXPECT_EQ(mBase.recordCount(), 3);
    EXPECT_EQ(mBase.currentIndex(), 1);
}

// The new version is never readable by more people than the base, not
// even while it is being written.
TEST_F(Sharing, CopiesOfAPrivateBaseArePrivateFromTheirFirstByte) {
    const QString path = openBaseWith(2);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(mBase.MoveNext());  // its rights changed, not its contents
    std::vector<std::uint32_t> seen;
    const QString temporary = mProgramFolder.filePath(QStringLiteral("bdptmp1.tmp"));
    mHost.onProgress = [&](LongOperation, std::int64_t, std::int64_t) {
        if (QFileInfo::exists(temporary)) {
            seen.push_back(modeOf(temporary));
        }
        return true;
    };
    ASSERT_TRUE(mBase.AddBDP(picture(1), QStringLiteral("secret")));
    ASSERT_TRUE(mBase.DeleteBDP());
    ASSERT_FALSE(seen.empty());
    for (const std::uint32_t mode : seen) {
        EXPECT_EQ(mode, 0600U);
    }
    EXPECT_EQ(modeOf(path), 0600U);
}

TEST_F(Sharing, ABaseTheUserMayNotWriteIsRefusedNamingIt) {
    const QString path = openBaseWith(2);
    ASSERT_TRUE(QFile::setPermissions(mDataFolder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner | QFile::ReadOther |
                                                              QFile::WriteOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(mProgramFolder.path(), QFileDevice::Permissions(0x7777)));
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(mBase.MoveNext());
    const QByteArray before = readAll(path);
    {
        const OrdinaryUser user;
        EXPECT_FALSE(mBase.AddBDP(picture(1), QStringLiteral("not mine")));
    }
    ASSERT_FALSE(mHost.messages.empty());
    EXPECT_EQ(mHost.messages.front().text,
              QStringLiteral("Erreur 70\r\nPermission refusée : ") + path);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(modeOf(path), 0444U);
}

// A rename would break the link between a base's two names; the base is
// overwritten in place instead, and both names see the new record.
TEST_F(Sharing, ABaseWithASecondNameKeepsIt) {
    const QString path = openBaseWith(2);
    const QString second = basePath(QStringLiteral("second-name.bdp"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(second).constData()),
              0);
    ASSERT_TRUE(mBase.AddBDP(picture(5), QStringLiteral("linked")));
    EXPECT_TRUE(isSoundBase(second, 3));
    EXPECT_EQ(readAll(second), readAll(path));
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(readAll(second), readAll(path));
    EXPECT_TRUE(isSoundBase(path, 2));
    EXPECT_FALSE(tempFilesLeft());
}

// A program that died while overwriting a base in place left the base torn,
// its backup and a note naming it: the next rewrite in the folder repairs it.
TEST_F(Sharing, ABaseTornByACrashIsRepairedByTheNextRewrite) {
    const QString torn = buildBase(3, QStringLiteral("torn.bdp"));
    const QByteArray whole = readAll(torn);
    writeAll(mProgramFolder.filePath(QStringLiteral("bdpsave.tmp")), whole);
    QFile note(mProgramFolder.filePath(QStringLiteral(".pictarium.lock")));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly | QIODevice::Truncate));
    note.write("overwriting " + QFile::encodeName(torn));
    note.close();
    writeAll(torn, whole.left(whole.size() / 2));
    writeAll(mProgramFolder.filePath(QStringLiteral("bdptmp1.tmp")), "left over");
    writeAll(mProgramFolder.filePath(QStringLiteral("bdptmp1.bmp")), "left over");

    const QString path = openBaseWith(1);
    ASSERT_TRUE(mBase.DeleteBDP());
    EXPECT_EQ(readAll(torn), whole);
    EXPECT_FALSE(tempFilesLeft());
    EXPECT_TRUE(isSoundBase(path, 0));
}

}  // namespace
}  // namespace pictarium::test
