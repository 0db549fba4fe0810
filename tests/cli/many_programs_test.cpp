// Several programs at once, as real processes: copies of pictarium-cli that
// share a program folder or a base, readers during rewrites, rewrites
// killed halfway, and a long-lived engine whose base another process
// changes. Each runs a bounded number of processes.

#include "engine/class_dbp.h"
#include "imaging/core/bitmap_codec.h"
#include "tests/cli/cli_fixture.h"
#include "tests/engine/recording_host.h"

#include <QThread>

#include <algorithm>
#include <csignal>
#include <random>
#include <vector>

namespace pictarium::cli::test {
namespace {

using ManyProgramsTest = CliTest;

const QString Base = QStringLiteral("base.bdp");

// A base of `count` records whose pictures are big enough that rewriting
// it takes a while.
QByteArray bigBase(int count) {
    QImage photo(1000, 1000, QImage::Format_RGB32);
    QList<StoredRecord> records;
    for (int i = 0; i < count; ++i) {
        photo.fill(QColor(i * 10 % 256, 120, 200));
        records.append(
            {storedText(QByteArray("photo ") + QByteArray::number(i)), bitmapFileOf(photo).mid(3)});
    }
    return wellFormedBase(records);
}

// Adds, deletes and corrections (descriptions one by one and from a list,
// moves) started at once take turns on a base, and keep to their own base
// when two share the program folder: every one of them succeeds, and none
// is lost or undone by another.
TEST_F(ManyProgramsTest, writersTakeTurnsOnABaseAndKeepToTheirOwn) {
    writeFile(Base, bigBase(8));
    writeFile("other.bdp", bigBase(8));
    writePicture("green.png", Qt::green);
    writeFile("list.tsv", QStringLiteral("3\tcorrigée 3\n").toUtf8());
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < 4; ++i) {
        writers.push_back(
            start({"add", "other.bdp", "green.png", QStringLiteral("other %1").arg(i)}));
        writers.push_back(start({"delete", "other.bdp", "0"}));
    }
    for (int i = 0; i < 3; ++i) {
        writers.push_back(
            start({"text", Base, QString::number(i), QStringLiteral("corrigée %1").arg(i)}));
        writers.push_back(start({"add", Base, "green.png", QStringLiteral("added %1").arg(i)}));
    }
    writers.push_back(start({"texts", Base, "list.tsv"}));
    // The moves stay among positions 4 to 7, which nothing else changes.
    writers.push_back(start({"move", Base, "4", "7"}));
    writers.push_back(start({"move", Base, "6", "5"}));
    for (const auto& writer : writers) {
        const CliResult result = finish(*writer);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    }
    EXPECT_EQ(run({"verify", Base}).exitCode, 0);
    EXPECT_EQ(run({"verify", "other.bdp"}).exitCode, 0);
    const QStringList texts = listedTexts(Base);
    ASSERT_EQ(texts.size(), 11);
    EXPECT_EQ(texts.mid(0, 4),
              (QStringList{"corrigée 0", "corrigée 1", "corrigée 2", "corrigée 3"}));
    QStringList moved = texts.mid(4, 4);
    moved.sort();
    EXPECT_EQ(moved, (QStringList{"photo 4", "photo 5", "photo 6", "photo 7"}));
    QStringList added = texts.mid(8);
    added.sort();
    EXPECT_EQ(added, (QStringList{"added 0", "added 1", "added 2"}));
    // The deletes each took the first record, which no add could be.
    const QStringList others = listedTexts("other.bdp");
    ASSERT_EQ(others.size(), 8);
    EXPECT_EQ(others.mid(0, 4), (QStringList{"photo 4", "photo 5", "photo 6", "photo 7"}));
    added = others.mid(4);
    added.sort();
    EXPECT_EQ(added, (QStringList{"other 0", "other 1", "other 2", "other 3"}));
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty());
}

// A reader never sees a base half rewritten.
TEST_F(ManyProgramsTest, aReaderDuringRewritesAlwaysSeesAWholeBase) {
    writeFile(Base, bigBase(12));
    writePicture("green.png", Qt::green);
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < 5; ++i) {
        writers.push_back(start({"add", Base, "green.png", QStringLiteral("added %1").arg(i)}));
    }
    int reads = 0;
    // Without an event loop, a process is seen to end only when waited for.
    while (std::any_of(writers.begin(), writers.end(), [](const auto& writer) {
        (void)writer->waitForFinished(0);
        return writer->state() != QProcess::NotRunning;
    })) {
        const CliResult verified = run({"verify", Base});
        EXPECT_EQ(verified.exitCode, 0) << verified.out.toStdString();
        ++reads;
    }
    for (const auto& writer : writers) {
        EXPECT_EQ(finish(*writer).exitCode, 0);
    }
    EXPECT_GT(reads, 0);
    EXPECT_EQ(listedTexts(Base).size(), 17);
}

// A list long enough that an add ends while it runs: it starts again on
// the new base instead of failing, and lists it once, whole.
TEST_F(ManyProgramsTest, aReaderStartsAgainOnABaseReplacedUnderIt) {
    QList<StoredRecord> records(100000, {storedText("court"), storedPicture(Qt::red)});
    writeFile(Base, wellFormedBase(records));
    writePicture("green.png", Qt::green);
    const std::unique_ptr<QProcess> reader = start({"list", Base});
    QThread::msleep(300);
    EXPECT_EQ(run({"add", Base, "green.png", "ajoutée"}).exitCode, 0);
    const CliResult listed = finish(*reader);
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(listed.out.count(u'\n'), 100001);
}

// Killed at any moment of an add, a program leaves the old base or the new
// one, whole; the next add and delete clear what it left behind.
TEST_F(ManyProgramsTest, aRewriteKilledHalfwayLeavesTheOldBaseOrTheNew) {
    writeFile(Base, bigBase(16));
    writePicture("green.png", Qt::green, 400, 400);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delay(0, 120);
    std::int32_t records = 16;
    // The last one is killed well inside its rewrite.
    for (int trial = 0; trial < 7; ++trial) {
        const std::unique_ptr<QProcess> writer = start({"add", Base, "green.png", "killed"});
        ASSERT_TRUE(writer->waitForStarted());
        QThread::msleep(static_cast<unsigned long>(trial < 6 ? delay(random) : 60));
        ::kill(static_cast<pid_t>(writer->processId()), SIGKILL);
        writer->waitForFinished();
        const CliResult verified = run({"verify", Base});
        ASSERT_EQ(verified.exitCode, 0) << verified.out.toStdString();
        const std::int32_t now = int32At(readFile(Base), 4);
        EXPECT_TRUE(now == records || now == records + 1) << now;
        records = now;
    }
    // What a killed add left (a copy of the base, readable by whoever
    // could read the folder) goes with the next delete, and the next add.
    ASSERT_EQ(run({"delete", Base, "0"}).exitCode, 0);
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty())
        << leftOverTemporaryFiles().join(u' ').toStdString();
    ASSERT_EQ(run({"add", Base, "green.png", "after"}).exitCode, 0);
    EXPECT_TRUE(leftOverTemporaryFiles().isEmpty());
    EXPECT_EQ(run({"verify", Base}).exitCode, 0);
}

// Killed at any moment of a delete, a program leaves each record in the
// base or in its trash, and in one of them only, once the next program
// has looked.
TEST_F(ManyProgramsTest, aDeleteKilledHalfwayLosesNoRecordAndKeepsNoneTwice) {
    writeFile(Base, bigBase(10));
    QStringList all = listedTexts(Base);
    all.sort();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delay(0, 150);
    for (int trial = 0; trial < 8; ++trial) {
        const std::unique_ptr<QProcess> deleter = start({"delete", Base, "0"});
        ASSERT_TRUE(deleter->waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delay(random)));
        ::kill(static_cast<pid_t>(deleter->processId()), SIGKILL);
        deleter->waitForFinished();
        QStringList seen = listedTexts(Base);
        for (const QString& line : run({"trash", Base}).out.split(u'\n', Qt::SkipEmptyParts)) {
            seen.append(line.section(u'\t', 5));
        }
        seen.sort();
        EXPECT_EQ(seen, all) << trial;
    }
    ASSERT_EQ(run({"delete", Base, "0"}).exitCode, 0);
    const qsizetype trashed = run({"trash", Base}).out.count(u'\n');
    QStringList numbers{"restore", Base};
    for (qsizetype i = 1; i <= trashed; ++i) {
        numbers.append(QString::number(i));
    }
    EXPECT_EQ(run(numbers).exitCode, 0);
    EXPECT_EQ(listedTexts(Base).size(), 10);
    EXPECT_EQ(run({"trash", Base}).out, "");
}

// The window keeps its base open for hours: a record another process adds
// meanwhile is neither lost nor overwritten by the window's next change.
TEST_F(ManyProgramsTest, aLongLivedEngineNoticesAnotherProcessesChange) {
    writeFile(Base, wellFormedBase({{storedText("one"), storedPicture(Qt::red)},
                                    {storedText("two"), storedPicture(Qt::blue)}}));
    QTemporaryDir folder;
    pictarium::test::RecordingHost host(folder.path());
    ClassDBP window(host);
    ASSERT_TRUE(window.OpenBDP(path(Base)));
    writePicture("green.png", Qt::green);
    ASSERT_EQ(run({"add", Base, "green.png", "from a script"}).exitCode, 0);

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    EXPECT_FALSE(window.AddBDP(picture, QStringLiteral("from the window")));
    EXPECT_EQ(host.messages.back().text,
              QStringLiteral("La base a été modifiée par un autre programme : elle est rouverte."));
    EXPECT_EQ(window.recordCount(), 3);
    EXPECT_TRUE(window.AddBDP(picture, QStringLiteral("from the window")));
    EXPECT_EQ(listedTexts(Base), (QStringList{"one", "two", "from a script", "from the window"}));
}

}  // namespace
}  // namespace pictarium::cli::test
