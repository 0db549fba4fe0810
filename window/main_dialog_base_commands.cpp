// Opening, creating and recording the default base, help and close.

#include "window/main_dialog.h"

#include "window/pointer_file_p.h"

#include <QLineEdit>
#include <QPushButton>

namespace pictarium {

namespace {

constexpr int OpenBaseFlags = 0x28080C;  // hide read-only, keep folder, path must
                                         // exist, explorer style, long names
const QString HelpFileName = QStringLiteral("Ptxm.hlp");

}  // namespace

void MainDialog::Command4_Click() {
    QString path;
    if (ShowOpenBaseDialog(path) && Base->OpenBDP(path)) {
        mUi.TextDbOpen->setText(path);
        mUi.CmdImpose->setEnabled(true);
    }
    focusTabStrip();
}

// The same box as for opening: it takes a name that does not exist yet.
void MainDialog::Command5_Click() {
    QString path;
    if (ShowOpenBaseDialog(path)) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        if (dot < 0) {
            stopBox(QStringLiteral("Indiquez un nom de fichier correct svp !"));
        } else {
            // The engine reports its own refusals; the new base is not opened.
            (void)Base->CreateBDP(path.left(dot + 1) + QStringLiteral("bdp"));
        }
    }
    focusTabStrip();
}

void MainDialog::CmdImpose_Click() {
    const QString path = mUi.TextDbOpen->text();
    if (path.isEmpty()) {
        return;
    }
    if (WriteDefaultBase(path)) {
        mUi.TextDefautBase->setText(path);
    }
    mUi.CmdImpose->setEnabled(false);
}

void MainDialog::Command8_Click() {
    try {
        Medlg.setHelpCommand(CommonDialogControl::HelpForceFile);
        Medlg.setHelpFile(withSeparator(mSetup.folders.programFolder) + HelpFileName);
        Medlg.ShowHelp();
    } catch (...) {
        // No help file or no viewer: nothing to show, nothing to say.
    }
}

void MainDialog::Command13_Click() {
    close();
}

bool MainDialog::ShowOpenBaseDialog(QString& path) {
    try {
        Medlg.setDialogTitle(QStringLiteral("Ouvrir une base de données..."));
        Medlg.setFlags(OpenBaseFlags);
        Medlg.setCancelError(true);
        Medlg.setFileName(QString());
        Medlg.setFilter(QStringLiteral("Pictarium(*.bdp;)|*.bdp"));
        Medlg.setFilterIndex(1);
        Medlg.ShowOpen();
        path = Medlg.FileName();
        return true;
    } catch (...) {
        return false;  // Cancel included
    }
}

}  // namespace pictarium
