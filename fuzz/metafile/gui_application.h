#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

namespace pictarium::fuzz {

// Text needs a Gui application: one is made on first use and kept, with
// Qt's messages silenced.
inline void ensureGuiApplication(const char* programName) {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(programName), nullptr};
    static QGuiApplication application(argc, argv);
}

}  // namespace pictarium::fuzz
