#include "run_command_line.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    const QStringList words = QCoreApplication::arguments().mid(1);
    return static_cast<int>(pictarium::cli::runCommandLine(words));
}
