#include "base/program_folders.h"
#include "window/french_translations.h"
#include "window/main_dialog.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    pictarium::nameProgram();
    QApplication::setDesktopFileName(QStringLiteral("pictarium"));
    const auto translator = pictarium::installFrenchTranslations();

    pictarium::WindowSetup setup;
    setup.folders = pictarium::findProgramFolders();
    setup.commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    pictarium::MainDialog window(std::move(setup));
    window.show();
    return QApplication::exec();
}
