#include "base/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace pictarium {

namespace {

// Access rights alone can mislead (read-only mounts, ACLs): try a file.
bool canCreateFileIn(const QString& folder) {
    QTemporaryFile probe(withSeparator(folder) + QStringLiteral(".pictarium-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

QString withSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QLatin1Char('/');
}

QString writableFolderOr(const QString& folder, const QString& fallback) {
    if (canCreateFileIn(folder)) {
        return withSeparator(folder);
    }
    QDir().mkpath(fallback);
    return withSeparator(fallback);
}

void nameProgram() {
    QCoreApplication::setOrganizationName(QStringLiteral("Tessaline"));
    QCoreApplication::setApplicationName(QStringLiteral("Pictarium"));
}

ProgramFolders findProgramFolders() {
    ProgramFolders folders;
    folders.programFolder = withSeparator(QCoreApplication::applicationDirPath());
    folders.dataFolder =
        writableFolderOr(folders.programFolder,
                         QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    folders.trashFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                          QStringLiteral("/trash");
    // A cache: the system may empty it at any time.
    folders.thumbnailFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                              QStringLiteral("/thumbnails");
    return folders;
}

}  // namespace pictarium
