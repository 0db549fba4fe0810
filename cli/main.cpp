#include "base/program_folders.h"
#include "cli/run_command_line.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// The error stream carries Pictarium's own messages; Qt's warnings about
// the session (no runtime folder, no display) are noise to a script.
void keepOnlySeriousQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(keepOnlySeriousQtMessages);
    // Metafile text needs fonts, hence a Gui application; the command line
    // never shows a window, so it needs no display either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    pictarium::nameProgram();
    const QStringList words = QCoreApplication::arguments().mid(1);
    return static_cast<int>(pictarium::cli::runCommandLine(words));
}
