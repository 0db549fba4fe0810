#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/picture_holder_p.h"

#include <QDir>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <chrono>

namespace pictarium::test {

// A long add or delete: its progress box, "Annuler", and the clicks and
// closes that come while it runs.
class LongOperationTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    QString path(const char* name) const { return mFolder->filePath(QString::fromLatin1(name)); }

    void defaultBaseOf(int records) const {
        std::vector<std::pair<QImage, QString>> contents;
        for (int i = 0; i < records; ++i) {
            contents.emplace_back(plainPicture(40, 30, QColor(i * 30, 90, 200)),
                                  QStringLiteral("record %1").arg(i));
        }
        writeBase(path("album.bdp"), contents);
        writeDefaultBase(mFolder->path(), path("album.bdp"));
    }

    QByteArray baseBytes() const {
        QFile file(path("album.bdp"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QProgressDialog* progressBox(const StartedWindow& started) {
        return started.window().findChild<QProgressDialog*>(QStringLiteral("ProgressBox"));
    }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void cancellingTheProgressBoxLeavesTheBaseAndThePendingPicture() {
        defaultBaseOf(2);
        const StartedWindow started(mFolder->path(), QString(), std::chrono::milliseconds(0));
        const QByteArray before = baseBytes();
        const QString picture = path("new.png");
        plainPicture(60, 60, Qt::red).save(picture);
        started.dialog().choose(picture);
        started.typeDescription(QStringLiteral("annulé"));
        QString label;
        QString button;
        // Pressed as soon as the box shows, from within the add.
        QTimer watcher;
        watcher.setInterval(0);
        connect(&watcher, &QTimer::timeout, [&] {
            if (QProgressDialog* box = progressBox(started); box != nullptr && box->isVisible()) {
                label = box->labelText();
                button = box->findChild<QPushButton*>()->text();
                box->cancel();
                watcher.stop();
            }
        });
        watcher.start();
        started.click("Command1");
        watcher.stop();
        QCOMPARE(label, EngineText::AddingPicture);
        QCOMPARE(button, QStringLiteral("Annuler"));
        QCOMPARE(baseBytes(), before);
        QVERIFY(started.control<PictureHolder>("PicTmp")->holdsPicture());
        QVERIFY(started.boxes().takeTexts().isEmpty());
        const QStringList left = QDir(mFolder->path()).entryList({QStringLiteral("bdp*")});
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
        QVERIFY(progressBox(started) == nullptr || !progressBox(started)->isVisible());
        // The next add goes through, without a box for the file.
        started.click("Command1");
        QCOMPARE(started.window().engine()->recordCount(), 3);
        QCOMPARE(started.description(), QStringLiteral("annulé"));
    }

    void cancellingAnAddOfSeveralFilesAddsNoneOfThem() {
        defaultBaseOf(1);
        const StartedWindow started(mFolder->path(), QString(), std::chrono::milliseconds(0));
        const QByteArray before = baseBytes();
        plainPicture(60, 60, Qt::red).save(path("a.png"));
        plainPicture(30, 60, Qt::blue).save(path("b.png"));
        started.dialog().chooseMany({path("a.png"), path("b.png")});
        QString label;
        QTimer watcher;
        watcher.setInterval(0);
        connect(&watcher, &QTimer::timeout, [&] {
            if (QProgressDialog* box = progressBox(started); box != nullptr && box->isVisible()) {
                label = box->labelText();
                box->cancel();
                watcher.stop();
            }
        });
        watcher.start();
        started.click("Command1");
        watcher.stop();
        QCOMPARE(label, EngineText::AddingPictures);
        QCOMPARE(baseBytes(), before);
        QCOMPARE(started.window().engine()->recordCount(), 1);
        QVERIFY(started.boxes().takeTexts().isEmpty());
        QVERIFY(QDir(mFolder->path()).entryList({QStringLiteral("bdp*")}).isEmpty());
    }

    // A click on "Supprimer" made while the add runs must not delete the
    // record just added once the add is over.
    void aClickMadeDuringAnAddIsNotCarriedOutAfterIt() {
        defaultBaseOf(2);
        const StartedWindow started(mFolder->path());
        const QString picture = path("new.png");
        plainPicture(60, 60, Qt::red).save(picture);
        started.dialog().choose(picture);
        started.typeDescription(QStringLiteral("gardé"));
        auto* remove = started.control<QToolButton>("Command6");
        const QPoint centre = remove->rect().center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            auto event =
                std::make_unique<QMouseEvent>(type, centre, remove->mapToGlobal(centre),
                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::postEvent(remove, event.release());  // Qt takes it
        }
        started.click("Command1");
        QCoreApplication::processEvents();
        QCOMPARE(started.window().engine()->recordCount(), 3);
        QCOMPARE(started.description(), QStringLiteral("gardé"));
        // Clicks made afterwards work as ever.
        started.click("Command6");
        QCOMPARE(started.window().engine()->recordCount(), 2);
    }

    void closingDuringAnAddClosesOnceItIsDone() {
        defaultBaseOf(1);
        const StartedWindow started(mFolder->path());
        const QString picture = path("new.png");
        plainPicture(60, 60, Qt::red).save(picture);
        started.dialog().choose(picture);
        started.typeDescription(QStringLiteral("fini"));
        QTimer::singleShot(0, &started.window(), [&] { started.window().close(); });
        started.click("Command1");
        QVERIFY(started.window().engine() == nullptr);
        QVERIFY(!started.window().isVisible());
        QCOMPARE(baseBytes().at(4), '\x02');  // the add went through first
    }
};

}  // namespace pictarium::test

#include "long_operation_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::LongOperationTest)
