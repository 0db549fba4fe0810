// Opening, creating and recording the default base, help and close.

#include "window/main_dialog.h"

#include "window/help_window_p.h"
#include "window/new_base_name_p.h"
#include "window/pointer_file_p.h"

#include <QLineEdit>
#include <QPushButton>

namespace pictarium {

namespace {

constexpr int OpenBaseFlags = 0x28080C;  // hide read-only, keep folder, path must
                                         // exist, explorer style, long names

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
        const QString name = newBaseName(path);
        if (name.isEmpty()) {
            stopBox(QStringLiteral("Indiquez un nom de fichier correct svp !"));
        } else {
            // The engine reports its own refusals; the new base is not opened.
            (void)Base->CreateBDP(name);
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

// The program's own help: a .hlp file has no viewer here.
void MainDialog::Command8_Click() {
    showHelp(HelpWindow::NoTopic);
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
