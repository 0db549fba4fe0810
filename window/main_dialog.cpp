// Start-up, shutdown, tabs and timer of the main window.

#include "window/main_dialog.h"

#include "base/file_operations.h"
#include "engine/bdp_format.h"
#include "engine/engine_texts.h"
#include "imaging/picture_reader.h"
#include "window/busy_pointer_p.h"
#include "window/child_widget_p.h"
#include "window/clipboard_watch_p.h"
#include "window/description_box_p.h"
#include "window/display_box_p.h"
#include "window/input_hold_p.h"
#include "window/picture_holder_p.h"
#include "window/pointer_file_p.h"
#include "window/progress_box_p.h"
#include "window/twips_p.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace pictarium {

namespace {

constexpr int OuterWidthTwips = 6015;
constexpr int OuterHeightTwips = 6540;
constexpr int ClientWidthTwips = 5895;
constexpr int ClientHeightTwips = 6135;
constexpr int ScreenMarginTwips = 750;
constexpr int TimerIntervalMs = 20;

// Added under what the engine says of a damaged base.
const QString RecoverHint = QStringLiteral(
    "Les images encore lisibles peuvent être sauvées dans une nouvelle base avec la commande "
    "« pictarium-cli recover ».");

// Only spaces are trimmed, as the system trims its argument string.
QString trimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' ')) {
        ++start;
    }
    while (end > start && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.mid(start, end - start);
}

QIcon pictariumIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/bitmaps/pictarium_16.xpm"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/bitmaps/pictarium_32.xpm"), QSize(32, 32));
    return icon;
}

}  // namespace

MainDialog::MainDialog(WindowSetup setup, QWidget* parent)
    : QWidget(parent), mSetup(std::move(setup)), Medlg(*mSetup.dialogControl) {
    setObjectName(QStringLiteral("MainDialog"));
    setWindowTitle(QStringLiteral("Tessaline - Pictarium"));
    setWindowIcon(pictariumIcon());
    // Picture files dropped from a file manager are added.
    setAcceptDrops(true);
    Medlg.setOwner(this);
    mUi = buildDialogControls(*this);
    mUi.PicShow->setPaintProcedure([this](QPainter& painter) { PicShow_Paint(painter); });
    mClipboard = createChild<ClipboardWatch>(this, QStringLiteral("ClipboardWatch"));
    mProgress = std::make_unique<ProgressBox>(this, mSetup.progressDelay);
    Timer1 = createChild<QTimer>(this, QStringLiteral("Timer1"));
    Timer1->setInterval(TimerIntervalMs);
    connectControls();
    Form_Load();
    Timer1->start();
}

MainDialog::~MainDialog() = default;

void MainDialog::connectControls() {
    connect(mUi.TabStrip1, &QTabWidget::currentChanged, this, &MainDialog::TabStrip1_Click);
    connect(Timer1, &QTimer::timeout, this, &MainDialog::Timer1_Timer);

    connect(mUi.Command4, &QToolButton::clicked, this,
            [this] { runCommand([this] { Command4_Click(); }); });
    connect(mUi.Command5, &QToolButton::clicked, this, &MainDialog::Command5_Click);
    connect(mUi.CmdImpose, &QPushButton::clicked, this, &MainDialog::CmdImpose_Click);
    connect(mUi.Command8, &QToolButton::clicked, this, &MainDialog::Command8_Click);
    connect(mUi.Command13, &QPushButton::clicked, this, &MainDialog::Command13_Click);
    auto* help = createChild<QShortcut>(this, QStringLiteral("HelpKey"),
                                        QKeySequence(QKeySequence::HelpContents));
    connect(help, &QShortcut::activated, this, &MainDialog::Command8_Click);

    connect(mUi.Command1, &QToolButton::clicked, this,
            [this] { runCommand([this] { AddPicture(); }); });
    connect(mUi.Command14, &QToolButton::clicked, this,
            [this] { runCommand([this] { Command14_Click(); }); });
    connect(mUi.Command15, &QToolButton::clicked, this, &MainDialog::Command15_Click);
    connect(mUi.Command16, &QToolButton::clicked, this, &MainDialog::Command16_Click);

    connect(mUi.Command9, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { Base->MoveFirst(); }); });
    connect(mUi.Command2, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { Base->MoveLast(); }); });
    connect(mUi.Command3, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { Base->MoveNext(); }); });
    connect(mUi.Command10, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { Base->MoveEnd(); }); });
    connect(mUi.Command7, &QToolButton::clicked, this, [this] {
        runRecordCommand([this] { Base->SearchBDP(mUi.TextDescription->text(), true); });
    });
    connect(mUi.Command11, &QToolButton::clicked, this, [this] {
        runRecordCommand([this] { Base->SearchBDP(mUi.TextDescription->text(), false); });
    });
    connect(mUi.Command6, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { deleteShown(); }); });
    connect(mUi.Command12, &QToolButton::clicked, this,
            [this] { runRecordCommand([this] { Base->GetInfosBDP(); }); });
    connectKeys();
    connectCorrections();
    connectHistory();
    connectViewer();
    connectContactSheet();
}

void MainDialog::Form_Load() {
    const QString base = commandLineBase();
    if (base.isEmpty()) {
        takeCommandLinePicture();
    }
    Base = std::make_unique<ClassDBP>(*this);
    if (base.isEmpty()) {
        openDefaultBase();
    } else {
        openCommandLineBase(base);
    }
    placeWindow();
}

// A base named on the command line, as a file manager passes the file
// opened with Pictarium; any other argument is a picture.
QString MainDialog::commandLineBase() const {
    const QString argument = trimSpaces(mSetup.commandLine);
    return hasBdpName(argument) && PathExists(argument) ? argument : QString();
}

// Opened instead of the default base, as "Ouvrir une base" opens one; the
// default base stays the default.
void MainDialog::openCommandLineBase(const QString& path) {
    const QString defaultBase = ReadDefaultBase();
    if (!defaultBase.isEmpty() && PathExists(defaultBase)) {
        mUi.TextDefautBase->setText(defaultBase);
    }
    if (Base->OpenBDP(path)) {
        mUi.TextDbOpen->setText(path);
        mUi.CmdImpose->setEnabled(true);
    }
}

// A picture named on the command line waits, unseen, for the add button.
void MainDialog::takeCommandLinePicture() {
    const QString argument = trimSpaces(mSetup.commandLine);
    if (argument.isEmpty() || !PathExists(argument)) {
        return;
    }
    // An unlisted extension or an unreadable file is ignored in silence.
    const PictureReading reading = readPictureFile(argument);
    if (reading.outcome == PictureReading::Outcome::Loaded) {
        mUi.PicTmp->setPicture(reading.picture);
    }
}

void MainDialog::openDefaultBase() {
    const QString path = ReadDefaultBase();
    if (path.isEmpty() || !PathExists(path)) {
        return;
    }
    if (Base->OpenBDP(path)) {
        mUi.TextDbOpen->setText(path);
        mUi.TextDefautBase->setText(path);
    }
}

// The layout never adapts: the window keeps the size it was drawn at, near
// the bottom-right corner of the screen.
void MainDialog::placeWindow() {
    setFixedSize(twipsSize(ClientWidthTwips, ClientHeightTwips));
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    move(area.x() + area.width() - twipsToPixels(OuterWidthTwips + ScreenMarginTwips),
         area.y() + area.height() - twipsToPixels(OuterHeightTwips + ScreenMarginTwips));
}

QString MainDialog::ReadDefaultBase() const {
    return readPointerFile(withSeparator(mSetup.folders.dataFolder) + PointerFileName);
}

bool MainDialog::WriteDefaultBase(const QString& path) const {
    return writePointerFile(withSeparator(mSetup.folders.dataFolder) + PointerFileName, path);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    // The engine is busy with a command: the window closes when it is done.
    if (mCommandsRunning > 0) {
        mCloseAsked = true;
        event->ignore();
        return;
    }
    // Releasing the engine closes the open base; the program ends with its
    // only window.
    Timer1->stop();
    Base.reset();
    event->accept();
}

void MainDialog::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainDialog::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        Form_Resize();  // a restore from the task bar
    }
}

void MainDialog::Form_Resize() {
    focusTabStrip();
}

void MainDialog::focusTabStrip() {
    mUi.TabStrip1->setFocus(Qt::OtherFocusReason);
}

void MainDialog::TabStrip1_Click() {
    switch (mUi.TabStrip1->currentIndex() + 1) {
        case 1:
            mUi.PicConfig->hide();
            mUi.PicData->show();
            break;
        case 2:
            mUi.PicData->hide();
            mUi.PicConfig->show();
            break;
        default:
            break;
    }
}

// Paste is offered only while a base can take the picture.
void MainDialog::Timer1_Timer() {
    mUi.Command14->setEnabled(mUi.Command1->isEnabled() && mClipboard->holdsPicture());
}

MessageAnswer MainDialog::showMessage(const Message& message) {
    const PointerLift lift;
    if (!message.baseDamaged) {
        return mSetup.messageBoxes->show(message, this);
    }
    Message told = message;
    told.text += QStringLiteral("\n") + RecoverHint;
    return mSetup.messageBoxes->show(told, this);
}

void MainDialog::setBusyPointer(bool busy) {
    showBusyPointer(busy);
}

QString MainDialog::programFolder() const {
    return mSetup.folders.dataFolder;
}

QString MainDialog::trashFolder() const {
    return mSetup.folders.trashFolder;
}

bool MainDialog::reportProgress(LongOperation operation, std::int64_t done, std::int64_t total) {
    const QString label = EngineText::progressLabel(operation, total);
    return mProgress->report(label, done, total);
}

void MainDialog::runCommand(const std::function<void()>& command) {
    ++mCommandsRunning;
    {
        const InputHold hold(*this);
        try {
            command();
        } catch (...) {
            // The engine reports its own failures; the window stays usable.
            showBusyPointer(false);
        }
        mProgress->finish();
    }
    --mCommandsRunning;
    if (mCommandsRunning == 0 && mCloseAsked) {
        mCloseAsked = false;
        close();
    }
}

void MainDialog::stopBox(const QString& text) {
    (void)showMessage({text, EngineText::Title, MessageIcon::Stop, MessageButtons::Ok});
}

}  // namespace pictarium
