#include "engine/engine_texts.h"
#include "tests/window/window_test_main.h"
#include "tests/window/window_test_support.h"
#include "window/description_box_p.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace pictarium::test {

namespace {

// Every button of the window, in the order of their names.
const QStringList Buttons = {
    QStringLiteral("Command1"),  QStringLiteral("Command2"),  QStringLiteral("Command3"),
    QStringLiteral("Command4"),  QStringLiteral("Command5"),  QStringLiteral("Command6"),
    QStringLiteral("Command7"),  QStringLiteral("Command8"),  QStringLiteral("Command9"),
    QStringLiteral("Command10"), QStringLiteral("Command11"), QStringLiteral("Command12"),
    QStringLiteral("Command13"), QStringLiteral("Command14"), QStringLiteral("Command15"),
    QStringLiteral("Command16"), QStringLiteral("CmdImpose")};

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;

    QString path(const char* name) const { return mFolder->filePath(QString::fromLatin1(name)); }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void startsOnTheDefaultBase_data() {
        QTest::addColumn<int>("records");  // -1: no default base
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("none") << -1 << QStringList{"Command4", "Command5", "Command8", "Command13"};
        QTest::newRow("empty") << 0
                               << QStringList{"Command1", "Command4", "Command5", "Command8",
                                              "Command12"};
        QTest::newRow("two records")
            << 2 << QStringList{"Command1",  "Command3",  "Command4",  "Command5",
                                "Command6",  "Command8",  "Command10", "Command11",
                                "Command12", "Command13", "Command15", "Command16"};
    }

    // The default base is opened on its first record; switching tabs
    // changes nothing else.
    void startsOnTheDefaultBase() {
        QFETCH(int, records);
        QFETCH(QStringList, enabled);
        const std::vector<std::pair<QImage, QString>> two = {
            {plainPicture(100, 50, Qt::red), QStringLiteral("Rouge")},
            {plainPicture(60, 60, Qt::blue), QStringLiteral("Bleu")}};
        const QString base =
            records < 0 ? QString()
                        : writeDefaultAlbum(mFolder->path(), {two.begin(), two.begin() + records});
        const StartedWindow started(mFolder->path());
        QCOMPARE(started.window().windowTitle(), QStringLiteral("Tessaline - Pictarium"));
        QCOMPARE(started.window().size(), QSize(393, 409));
        for (const char* box : {"TextDbOpen", "TextDefautBase"}) {
            QCOMPARE(started.control<QLineEdit>(box)->text(), base);
            QVERIFY(started.control<QLineEdit>(box)->isReadOnly());
        }
        auto* tabs = started.control<QTabWidget>("TabStrip1");
        for (const int tab : {0, 1, 0}) {
            tabs->setCurrentIndex(tab);
            QCOMPARE(started.control("PicData")->isVisible(), tab == 0);
            QCOMPARE(started.control("PicConfig")->isVisible(), tab == 1);
            QCOMPARE(started.enabledAmong(Buttons), enabled);
        }
        QCOMPARE(started.description(), records > 0 ? QStringLiteral("Rouge") : QString());
        QCOMPARE(started.displayColourAt(160, 90),
                 records > 0 ? QColor(Qt::red) : QColor(Qt::white));
        QCOMPARE(started.displayColourAt(111, 90), QColor(Qt::white));
        QVERIFY(started.boxes().shown.empty());
    }

    // On either tab, every control shown lies inside what holds it, and no
    // two overlap unless one is laid over the other; a label is wide
    // enough for its whole text, and a picture button says what it does,
    // to screen readers too.
    void controlsShownDoNotOverlap() {
        const StartedWindow started(mFolder->path());
        auto* tabs = started.control<QTabWidget>("TabStrip1");
        for (const int tab : {0, 1}) {
            tabs->setCurrentIndex(tab);
            QList<QWidget*> shown;
            for (QWidget* control : started.window().findChildren<QWidget*>()) {
                if (control->isVisible() && !control->objectName().isEmpty() &&
                    !control->objectName().startsWith(QStringLiteral("qt_"))) {
                    shown.append(control);
                }
            }
            QVERIFY(shown.size() >= 10);
            for (const QWidget* control : std::as_const(shown)) {
                const QString name = control->objectName();
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                         qPrintable(name));
                if (const auto* label = qobject_cast<const QLabel*>(control)) {
                    QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(name));
                }
                if (qobject_cast<const QToolButton*>(control) != nullptr) {
                    QVERIFY2(!control->toolTip().isEmpty() &&
                                 control->accessibleName() == control->toolTip(),
                             qPrintable(name));
                }
                for (const QWidget* other : std::as_const(shown)) {
                    const QRect a = control->geometry();
                    const QRect b = other->geometry();
                    QVERIFY2(other == control || other->parentWidget() != control->parentWidget() ||
                                 !a.intersects(b) || a.contains(b) || b.contains(a),
                             qPrintable(name + QStringLiteral(" and ") + other->objectName()));
                }
            }
        }
    }

    void startsUsableWhenTheFirstRecordIsCorrupt() {
        const QString base = writeDefaultAlbum(
            mFolder->path(), {{plainPicture(10, 10, Qt::red), QStringLiteral("Abîmée")},
                              {plainPicture(10, 10, Qt::green), QStringLiteral("Saine")}});
        spoilStoredPicture(base, 0);
        const StartedWindow started(mFolder->path());
        // The engine's words, then how to save what is still readable.
        const QStringList told = started.boxes().takeTexts();
        QCOMPARE(told.size(), 1);
        const QStringList lines = told.front().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.front(), EngineText::CorruptPicture);
        QVERIFY(lines.back().contains(QStringLiteral("pictarium-cli recover")));
        QVERIFY(started.enabled("Command1") && started.enabled("Command10"));
        started.click("Command10");
        QCOMPARE(started.description(), QStringLiteral("Saine"));
        QVERIFY(started.boxes().shown.empty());
    }

    void ignoresADefaultThatIsNotABase() {
        QFile notBase(path("notes.bdp"));
        QVERIFY(notBase.open(QIODevice::WriteOnly));
        notBase.write("not a base at all");
        notBase.close();
        writeDefaultBase(mFolder->path(), notBase.fileName());
        const StartedWindow started(mFolder->path());
        const QStringList told = started.boxes().takeTexts();
        QCOMPARE(told.size(), 1);
        QVERIFY(told.front().startsWith(EngineText::NotAPictariumFile + u'\n'));
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->text().isEmpty());
        QVERIFY(started.control<QLineEdit>("TextDefautBase")->text().isEmpty());
        QVERIFY(!started.enabled("Command1"));
    }

    void makesTheOpenBaseTheDefaultForTheNextStart() {
        const QString base = path("vacances.bdp");
        writeBase(base, {{plainPicture(30, 20, Qt::yellow), QStringLiteral("Plage")}});
        {
            const StartedWindow first(mFolder->path());
            first.dialog().choose(base);
            first.click("Command4");
            const ShownFileBox& box = first.dialog().shownBoxes.at(0);
            QCOMPARE(box.title, QStringLiteral("Ouvrir une base de données..."));
            QCOMPARE(box.fileMode, QFileDialog::AnyFile);
            QCOMPARE(box.nameFilters, QStringList{QStringLiteral("Pictarium(*.bdp;) (*.bdp)")});
            QCOMPARE(first.control<QLineEdit>("TextDbOpen")->text(), base);
            QVERIFY(first.control<QLineEdit>("TextDefautBase")->text().isEmpty());
            QVERIFY(first.enabled("CmdImpose"));
            first.click("CmdImpose");
            QCOMPARE(first.control<QLineEdit>("TextDefautBase")->text(), base);
            QVERIFY(!first.enabled("CmdImpose"));
            first.click("Command13");
            QCOMPARE(first.window().engine(), nullptr);
        }
        {
            const StartedWindow second(mFolder->path());
            QCOMPARE(second.control<QLineEdit>("TextDefautBase")->text(), base);
            QCOMPARE(second.description(), QStringLiteral("Plage"));
        }
        // A base named on the command line is opened instead; the default stays.
        const QString named = path("nommée.bdp");
        writeBase(named, {{plainPicture(40, 40, Qt::gray), QStringLiteral("Montagne")}});
        const StartedWindow third(mFolder->path(), named);
        QCOMPARE(third.description(), QStringLiteral("Montagne"));
        QCOMPARE(third.control<QLineEdit>("TextDbOpen")->text(), named);
        QCOMPARE(third.control<QLineEdit>("TextDefautBase")->text(), base);
        QVERIFY(third.enabled("CmdImpose"));
        QVERIFY(third.boxes().shown.empty());
    }

    void createsABaseUnderTheChosenName() {
        const StartedWindow started(mFolder->path());
        started.dialog().choose(path("nouvelle.jpg"));
        started.click("Command5");
        QVERIFY(QFile::exists(path("nouvelle.bdp")));
        QVERIFY(started.control<QLineEdit>("TextDbOpen")->text().isEmpty());
        QVERIFY(!started.enabled("Command1"));

        // A name without extension gets one, and a dot in a folder's name
        // is not the file's extension.
        QVERIFY(QDir(mFolder->path()).mkdir(QStringLiteral("jean.dupont")));
        started.dialog().choose(path("jean.dupont/photos"));
        started.click("Command5");
        QVERIFY(QFile::exists(path("jean.dupont/photos.bdp")));
        QVERIFY(!QFile::exists(path("jean.bdp")));
        QVERIFY(started.boxes().shown.empty());
    }
};

}  // namespace pictarium::test

#include "start_up_test.moc"

PICTARIUM_WINDOW_TEST_MAIN(pictarium::test::StartUpTest)
